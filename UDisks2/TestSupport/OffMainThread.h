#pragma once

#include <chrono>
#include <future>

#include <QCoreApplication>

#include "KestrixKit/Ejection/DiskEjecting.h"

namespace kestrix::test {

// Ejects on a worker thread, as the app does, while this thread keeps handling its events (a
// service played by this process answers through them).
inline EjectOutcome ejectOffMainThread(DiskEjecting& ejector, const Drive& drive, bool force) {
    std::future<EjectOutcome> outcome =
        std::async(std::launch::async, [&] { return ejector.eject(drive, force); });
    while (outcome.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return outcome.get();
}

}  // namespace kestrix::test

#include "KestrixApp/Model/WaitTimer.h"

#include <chrono>

#include <QTimer>

namespace kestrix {

void ClockWaitTimer::after(double seconds, QObject* receiver, std::function<void()> then) {
    const auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::duration<double>(seconds > 0 ? seconds : 0));
    // A precise timer: the backup poll is a ten-second wait, not a coarse one.
    QTimer::singleShot(delay, Qt::PreciseTimer, receiver, std::move(then));
}

}  // namespace kestrix

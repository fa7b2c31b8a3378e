#pragma once

#include <QByteArray>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

#include "KestrixApp/Desktop/Updates/ProbeResult.h"

class QNetworkAccessManager;
class QObject;

namespace kestrix::desktop {

// The two requests of an update check. Both always ask the network, never a cache, give up when
// nothing arrives for `timeout` or when the whole request takes twice that, and answer once
// through `done` on the context's thread (not at all once the context is gone).

// A HEAD request: is the feed there?
void probe(QNetworkAccessManager& network, const QUrl& feed, std::chrono::milliseconds timeout, QObject* context,
           std::function<void(ProbeResult)> done);

// A GET request for the feed itself: its body when the server answered 2xx, nothing otherwise.
// A feed larger than any appcast would be is abandoned rather than held in memory.
void download(QNetworkAccessManager& network, const QUrl& feed, std::chrono::milliseconds timeout, QObject* context,
              std::function<void(std::optional<QByteArray>)> done);

}  // namespace kestrix::desktop

// Any bytes as an update feed: reading never fails, and a release it offers has a version and a
// web page to download it from.
#include <cstdint>
#include <cstdlib>

#include "KestrixApp/Desktop/Updates/Appcast.h"
#include "KestrixApp/Desktop/Updates/VersionOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QUrl feed(QStringLiteral("https://orvane.com/kestrix/appcast.xml"));
    const auto appcast = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto release = kestrix::desktop::newestRelease(appcast, feed);
    if (!release) return 0;
    const auto scheme = release->downloadPage.scheme().toLower();
    if (!kestrix::desktop::isVersion(release->version.toStdString()) || release->downloadPage.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        std::abort();
    }
    return 0;
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace kestrix::desktop {

// One version an appcast offers, and the page to get it from.
struct AppcastRelease {
    QString version;
    QUrl downloadPage;

    bool operator==(const AppcastRelease&) const = default;
};

// The newest release of an RSS appcast. Each <item> gives its version as a shortVersionString or
// version element of the appcast namespace, or as such an attribute of its <enclosure> (the short
// form first: it is the one people see), and its page as <link>, else the enclosure's url; links
// are read relative to the feed's own address.
// Nothing when the feed is not well-formed XML or no item has both a version and an http(s) link:
// such a feed is unreadable. Links to anything but web pages are never offered.
std::optional<AppcastRelease> newestRelease(const QByteArray& appcast, const QUrl& feed);

}  // namespace kestrix::desktop

#include "KestrixApp/Desktop/Updates/Appcast.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <vector>

#include "KestrixApp/Desktop/Updates/VersionOrder.h"

namespace kestrix::desktop {

namespace {

struct ItemFields {
    QString shortVersion;
    QString enclosureShortVersion;
    QString version;
    QString enclosureVersion;
    QString link;
    QString enclosureUrl;
};

QString firstGiven(std::initializer_list<const QString*> candidates) {
    for (const auto* candidate : candidates) {
        if (!candidate->trimmed().isEmpty()) return candidate->trimmed();
    }
    return {};
}

std::optional<AppcastRelease> release(const ItemFields& item, const QUrl& feed) {
    const auto version = firstGiven({&item.shortVersion, &item.enclosureShortVersion, &item.version, &item.enclosureVersion});
    if (!isVersion(version.toStdString())) return std::nullopt;
    const auto page = feed.resolved(QUrl(firstGiven({&item.link, &item.enclosureUrl}), QUrl::StrictMode));
    const auto scheme = page.scheme().toLower();
    // Only a page fetched over TLS is opened: anyone on the way could swap a plain one.
    if (!page.isValid() || page.host().isEmpty() || scheme != u"https") return std::nullopt;
    return AppcastRelease{.version = version, .downloadPage = page};
}

// RSS's own elements carry no namespace; the version fields come from the appcast's namespace.
bool isPlain(const QXmlStreamReader& xml, QStringView name) { return xml.namespaceUri().isEmpty() && xml.name() == name; }

void readEnclosure(const QXmlStreamAttributes& attributes, ItemFields& item) {
    for (const auto& attribute : attributes) {
        if (attribute.namespaceUri().isEmpty()) {
            if (attribute.name() == u"url") item.enclosureUrl = attribute.value().toString();
        } else if (attribute.name() == u"shortVersionString") {
            item.enclosureShortVersion = attribute.value().toString();
        } else if (attribute.name() == u"version") {
            item.enclosureVersion = attribute.value().toString();
        }
    }
}

void readField(QXmlStreamReader& xml, ItemFields& item) {
    if (isPlain(xml, u"link")) {
        item.link = xml.readElementText(QXmlStreamReader::SkipChildElements);
    } else if (isPlain(xml, u"enclosure")) {
        readEnclosure(xml.attributes(), item);
    } else if (!xml.namespaceUri().isEmpty() && xml.name() == u"shortVersionString") {
        item.shortVersion = xml.readElementText(QXmlStreamReader::SkipChildElements);
    } else if (!xml.namespaceUri().isEmpty() && xml.name() == u"version") {
        item.version = xml.readElementText(QXmlStreamReader::SkipChildElements);
    }
}

}  // namespace

std::optional<AppcastRelease> newestRelease(const QByteArray& appcast, const QUrl& feed) {
    QXmlStreamReader xml(appcast);
    std::vector<AppcastRelease> releases;
    std::optional<ItemFields> item;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (isPlain(xml, u"item")) {
                item.emplace();
            } else if (item) {
                readField(xml, *item);
            }
        } else if (xml.isEndElement() && isPlain(xml, u"item") && item) {
            if (auto found = release(*item, feed)) releases.push_back(std::move(*found));
            item.reset();
        }
    }
    if (xml.hasError() || releases.empty()) return std::nullopt;
    return *std::max_element(releases.begin(), releases.end(), [](const auto& left, const auto& right) {
        return compareVersions(left.version.toStdString(), right.version.toStdString()) < 0;
    });
}

}  // namespace kestrix::desktop

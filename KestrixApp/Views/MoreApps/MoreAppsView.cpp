#include "KestrixApp/Views/MoreApps/MoreAppsView.h"

#include <QGuiApplication>
#include <QLocale>
#include <optional>
#include <vector>

#include "KestrixApp/Desktop/MoreAppsNetwork/QtMoreAppsTransport.h"
#include "MoreAppsKit/Linux/Distribution.h"
#include "MoreAppsKit/Linux/MoreAppsNetwork.h"
#include "MoreAppsKit/Linux/StandardMoreAppsLoader.h"
#include "MoreAppsKit/MoreAppsLanguage.h"

namespace kestrix::views {

namespace {

std::optional<std::string> desktopIdentifier() {
    const QString name = QGuiApplication::desktopFileName();
    return name.isEmpty() ? std::nullopt : std::optional<std::string>(name.toStdString());
}

}  // namespace

const moreapps::MoreAppsConfig& kestrixMoreAppsConfig() {
    static const moreapps::MoreAppsConfig config{.thisApp = "kestrix",
                                                 .utmSource = "kestrix",
                                                 .isDirect = moreapps::Distribution::isDirect(),
                                                 .bundleID = desktopIdentifier(),
                                                 .allowsNetwork = moreapps::MoreAppsNetwork::allowsNetwork()};
    return config;
}

const std::string& moreAppsLanguage() {
    static const std::string language = [] {
        std::vector<std::string> preferred;
        for (const QString& identifier : QLocale::system().uiLanguages()) preferred.push_back(identifier.toStdString());
        return moreapps::MoreAppsLanguage::choose(preferred);
    }();
    return language;
}

MoreAppsListView* makeMoreAppsView(QWidget* parent) {
    const auto& config = kestrixMoreAppsConfig();
    return new MoreAppsListView(config,
                                moreapps::standardMoreAppsLoader(desktop::QtMoreAppsTransport(), config.bundleID),
                                moreAppsLanguage(), {}, parent);
}

}  // namespace kestrix::views

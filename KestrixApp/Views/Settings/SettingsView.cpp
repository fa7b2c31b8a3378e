#include "KestrixApp/Views/Settings/SettingsView.h"

#include <QIcon>
#include <algorithm>
#include <QStringList>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixApp/Views/Settings/SettingsTabs.h"

namespace kestrix::views {

namespace {

// In the order of the tabs.
const QStringList tabIds{"general", "automation", "privacy", "more"};

}  // namespace

SettingsView::SettingsView(AppModel& model, const SettingsOptions& options, QWidget* parent) : QTabWidget(parent) {
    setObjectName("settings");
    addTab(makeGeneralTab(model), QIcon::fromTheme("preferences-system"), localizedText("General"));
    addTab(makeAutomationTab(model, options.hotkeyAvailable), QIcon::fromTheme("system-run"),
           localizedText("Automation"));
    addTab(makePrivacyTab(), QIcon::fromTheme("security-high"), localizedText("Privacy"));
    QWidget* moreApps = options.moreAppsList ? options.moreAppsList() : nullptr;
    addTab(moreApps != nullptr ? moreApps : new QWidget, QIcon::fromTheme("view-app-grid-symbolic"), localizedText("More Apps"));

    setCurrentIndex(static_cast<int>(std::max<qsizetype>(0, tabIds.indexOf(model.settingsTab()))));
    connect(this, &QTabWidget::currentChanged, &model, [&model](int index) {
        if (index >= 0 && index < tabIds.size()) model.setSettingsTab(tabIds[index]);
    });
    connect(&model, &AppModel::settingsTabChanged, this, [this](const QString& tab) {
        if (const qsizetype index = tabIds.indexOf(tab); index >= 0) setCurrentIndex(static_cast<int>(index));
    });
}

}  // namespace kestrix::views

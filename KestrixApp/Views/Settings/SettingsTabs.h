#pragma once

#include <QWidget>

namespace kestrix {
class AppModel;
}

namespace kestrix::views {

QWidget* makeGeneralTab(AppModel& model);
QWidget* makeAutomationTab(AppModel& model, bool hotkeyAvailable);
QWidget* makePrivacyTab();

}  // namespace kestrix::views

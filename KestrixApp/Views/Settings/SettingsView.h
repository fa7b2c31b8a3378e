#pragma once

#include <QTabWidget>
#include <functional>

namespace kestrix {
class AppModel;
}

namespace kestrix::views {

struct SettingsOptions {
    // False where the desktop gives apps no global shortcut: the tab then says how to make one.
    bool hotkeyAvailable = true;
    // Makes the More Apps tab's list; the tab stays empty without it.
    std::function<QWidget*()> moreAppsList;
};

// The Settings window's content: the General, Automation, Privacy and More Apps tabs, the
// chosen one kept in the model's settingsTab.
class SettingsView : public QTabWidget {
    Q_OBJECT
public:
    SettingsView(AppModel& model, const SettingsOptions& options, QWidget* parent = nullptr);
};

}  // namespace kestrix::views

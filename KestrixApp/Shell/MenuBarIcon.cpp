#include "KestrixApp/Shell/MenuBarIcon.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Icons/AppIcons.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::shell {

namespace {

QString text(const char* english) { return QString::fromStdString(localized(english)); }

}  // namespace

MenuBarIcon::MenuBarIcon(AppModel& model, Commands commands, QObject* parent)
    : QObject(parent), tray_(new QSystemTrayIcon(this)), commands_(std::move(commands)) {
    update(model.attentionCount());
    connect(&model, &AppModel::attentionCountChanged, this, &MenuBarIcon::update);
    // The panel's own commands, for a right click on the icon.
    auto* menu = new QMenu();
    connect(this, &QObject::destroyed, menu, &QObject::deleteLater);
    menu->addAction(text("Open Kestrix"), this, [this] { commands_.openMain(); });
    menu->addAction(text("Eject All"), this, [this] { commands_.ejectAll(); });
    menu->addSeparator();
    if (commands_.checkForUpdates) menu->addAction(text("Check for Updates…"), this, [this] { commands_.checkForUpdates(); });
    menu->addAction(text("About Kestrix"), this, [this] { commands_.showAbout(); });
    menu->addSeparator();
    menu->addAction(text("Quit Kestrix"), this, [this] { commands_.quit(); });
    tray_->setContextMenu(menu);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::Trigger) return;
        // Trays that speak StatusNotifierItem give no geometry; the pointer is where the icon is.
        const QRect icon = tray_->geometry();
        commands_.openPanel(icon.isValid() && !icon.isEmpty() ? icon : QRect(QCursor::pos(), QSize(1, 1)));
    });
}

void MenuBarIcon::show() { tray_->show(); }

QString MenuBarIcon::label(int attentionCount) {
    if (attentionCount <= 0) return "Kestrix";
    return QString::fromStdString(localizedFormat("Kestrix, drives that need you: %1", {std::to_string(attentionCount)}));
}

void MenuBarIcon::update(int attentionCount) {
    tray_->setIcon(views::trayIcon(attentionCount > 0));
    tray_->setToolTip(label(attentionCount));
}

}  // namespace kestrix::shell

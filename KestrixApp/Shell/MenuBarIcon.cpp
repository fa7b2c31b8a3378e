#include "KestrixApp/Shell/MenuBarIcon.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::shell {

namespace {

QString text(const char* english) { return QString::fromStdString(localized(english)); }

QIcon ejectIcon() { return QIcon::fromTheme("media-eject"); }

// The eject icon with a dot in the corner: the tray's way of saying "look at me".
QIcon attentionIcon() {
    QIcon marked;
    for (const int side : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap = ejectIcon().pixmap(side, side);
        if (pixmap.isNull()) continue;
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xE0, 0x1B, 0x24));
        const qreal dot = side * 0.42;
        painter.drawEllipse(QRectF(side - dot, 0, dot, dot));
        marked.addPixmap(pixmap);
    }
    return marked;
}

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
        // Trays that speak StatusNotifierItem give no geometry; the cursor is where the icon is.
        const QRect icon = tray_->geometry();
        commands_.openPanel(icon.isValid() && !icon.isEmpty() ? icon.bottomLeft() : QCursor::pos());
    });
}

bool MenuBarIcon::isAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void MenuBarIcon::show() { tray_->show(); }

QString MenuBarIcon::label(int attentionCount) {
    if (attentionCount <= 0) return "Kestrix";
    return QString::fromStdString(localizedFormat("Kestrix, drives that need you: %1", {std::to_string(attentionCount)}));
}

void MenuBarIcon::update(int attentionCount) {
    tray_->setIcon(attentionCount > 0 ? attentionIcon() : ejectIcon());
    tray_->setToolTip(label(attentionCount));
}

}  // namespace kestrix::shell

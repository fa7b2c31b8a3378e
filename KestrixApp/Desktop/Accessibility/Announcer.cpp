#include "KestrixApp/Desktop/Accessibility/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>

#include <mutex>

namespace kestrix::desktop {
namespace {

QAccessibleInterface* notificationFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(Announcer::staticMetaObject.className()) || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

}  // namespace

Announcer::Announcer(QWidget& host) : QWidget(&host) {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(notificationFactory); });
    setFixedSize(1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    host.installEventFilter(this);
}

void Announcer::announce(const QString& text) {
    // Becoming showing is what screen readers speak, so each sentence is a fresh appearance.
    hide();
    setAccessibleName(text);
    if (parentWidget()->isVisible()) show();
}

bool Announcer::eventFilter(QObject* watched, QEvent* event) {
    // Otherwise the last sentence would be spoken again whenever the window reopens.
    if (watched == parentWidget() && event->type() == QEvent::Hide) hide();
    return false;
}

}  // namespace kestrix::desktop

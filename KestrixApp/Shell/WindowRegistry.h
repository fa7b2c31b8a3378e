#pragma once

#include <QPointer>
#include <QSettings>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

namespace kestrix::shell {

// How a window of the app looks, by its id; any id not listed is a main window.
struct WindowLook {
    QString title;
    QSize size;
    std::optional<QSize> minimumSize;
    bool resizable = true;
};

WindowLook windowLook(const QString& id);

// The app's windows, made on request and released when closed: the next request makes the
// window again, where the user left it, and no larger than its screen has room for.
class WindowRegistry {
public:
    // content makes what a window of that id shows; settings keep each window's geometry under
    // "Kestrix.<id>".
    WindowRegistry(std::function<QWidget*(const QString& id)> content, std::shared_ptr<QSettings> settings);
    ~WindowRegistry();

    // Shows the window, making it when needed, and brings it to the front.
    QWidget* openWindow(const QString& id);
    // The window of that id, while it is open.
    QWidget* window(const QString& id) const;
    std::size_t count() const;

private:
    QWidget* makeWindow(const QString& id);

    std::function<QWidget*(const QString&)> content_;
    std::shared_ptr<QSettings> settings_;
    std::map<QString, QPointer<QWidget>> windows_;
};

}  // namespace kestrix::shell

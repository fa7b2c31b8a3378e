#include "KestrixApp/Shell/WindowRegistry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "KestrixKit/Text/Localized.h"

namespace kestrix::shell {

namespace {

QString localizedText(const char* english) { return QString::fromStdString(localized(english)); }

// Saves the window's geometry whenever it is hidden or closed, so the next request and the next
// launch show it where the user left it.
class GeometryKeeper : public QObject {
public:
    GeometryKeeper(QWidget* window, std::shared_ptr<QSettings> settings, QString key)
        : QObject(window), settings_(std::move(settings)), key_(std::move(key)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close)
            settings_->setValue(key_, static_cast<QWidget*>(watched)->saveGeometry());
        return false;
    }

private:
    std::shared_ptr<QSettings> settings_;
    QString key_;
};

void centerOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    window->move(available.center() - QPoint(window->width() / 2, window->height() / 2));
}

}  // namespace

WindowLook windowLook(const QString& id) {
    if (id == "settings") return {localizedText("Kestrix Settings"), {580, 480}, std::nullopt, false};
    if (id == "help") return {localizedText("Kestrix Help"), {640, 620}, std::nullopt, true};
    if (id == "welcome") return {localizedText("Welcome to Kestrix"), {600, 560}, std::nullopt, false};
    return {localizedText("Kestrix"), {920, 640}, QSize(760, 520), true};
}

WindowRegistry::WindowRegistry(std::function<QWidget*(const QString&)> content, std::shared_ptr<QSettings> settings)
    : content_(std::move(content)), settings_(std::move(settings)) {}

WindowRegistry::~WindowRegistry() {
    for (auto& [id, window] : windows_) delete window.data();
}

QWidget* WindowRegistry::window(const QString& id) const {
    const auto found = windows_.find(id);
    return found == windows_.end() ? nullptr : found->second.data();
}

QWidget* WindowRegistry::openWindow(const QString& id) {
    QWidget* shown = window(id);
    if (shown == nullptr) shown = makeWindow(id);
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

QWidget* WindowRegistry::makeWindow(const QString& id) {
    const WindowLook look = windowLook(id);
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(id);
    window->setWindowTitle(look.title);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget* content = content_(id)) layout->addWidget(content);
    window->resize(look.size);
    if (look.minimumSize) window->setMinimumSize(*look.minimumSize);
    if (!look.resizable) {
        window->setFixedSize(look.size);
        // A fixed window has nothing to show larger: the desktop offers no maximise button.
        window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    }
    const QString key = "Kestrix." + id;
    if (!window->restoreGeometry(settings_->value(key).toByteArray())) centerOnScreen(window);
    window->installEventFilter(new GeometryKeeper(window, settings_, key));
    windows_[id] = window;
    return window;
}

}  // namespace kestrix::shell

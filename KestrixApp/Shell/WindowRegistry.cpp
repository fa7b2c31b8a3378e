#include "KestrixApp/Shell/WindowRegistry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <malloc.h>

#include "KestrixApp/Views/Style/WindowFit.h"
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

// The area of the screen the window is on, or will open on, that panels and docks leave free.
std::optional<QRect> freeArea(const QWidget* window) {
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return std::nullopt;
    return views::freeWindowArea(*screen);
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

std::size_t WindowRegistry::count() const {
    return static_cast<std::size_t>(
        std::count_if(windows_.begin(), windows_.end(), [](const auto& entry) { return !entry.second.isNull(); }));
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
    // Made again on the next request, where the user left it: an app that sits in the tray for
    // days keeps nothing of a window it showed once.
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(id);
    window->setWindowTitle(look.title);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget* content = content_(id)) layout->addWidget(content);
    // No larger than the screen has room for, frame included, however large it was left.
    const std::optional<QRect> available = freeArea(window);
    const auto fitted = [&](QSize size) { return available ? views::fittedWindowSize(size, *available) : size; };
    const QSize size = fitted(look.size);
    window->resize(size);
    if (look.minimumSize) window->setMinimumSize(fitted(*look.minimumSize));
    if (!look.resizable) {
        window->setFixedSize(size);
        // A fixed window has nothing to show larger: the desktop offers no maximise button.
        window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    }
    const QString key = "Kestrix." + id;
    // Left on a larger screen, it is made to fit this one, and centred when it would stick out.
    const bool restored = window->restoreGeometry(settings_->value(key).toByteArray());
    window->resize(fitted(window->size()));
    const bool onScreen = restored && available &&
                          available->contains(QRect(window->pos(), window->size().grownBy(views::assumedWindowFrame)));
    if (available && !onScreen) window->move(views::centredWindowPosition(window->size(), *available));
    window->installEventFilter(new GeometryKeeper(window, settings_, key));
    // The heap keeps what a closed window freed unless it is asked to give it back.
    QObject::connect(window, &QObject::destroyed, QCoreApplication::instance(), [] { malloc_trim(0); },
                     Qt::QueuedConnection);
    windows_[id] = window;
    return window;
}

}  // namespace kestrix::shell

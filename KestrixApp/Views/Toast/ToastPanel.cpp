#include "KestrixApp/Views/Toast/ToastPanel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>

#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Toast/ToastPlacement.h"

namespace kestrix::views {

namespace {

// A rounded card in the window colour, outlined, on a see-through window.
class ToastCard : public QWidget {
public:
    ToastCard()
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(toastSize);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    }
};

std::optional<QRect> currentToastFrame() {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    return toastFrame(primary ? std::optional<QRect>(primary->availableGeometry()) : std::nullopt, areas);
}

}  // namespace

ToastPanel::ToastPanel() : panel_(std::make_unique<ToastCard>()) {
    panel_->setObjectName("toast");
    auto* row = new QHBoxLayout(panel_.get());
    row->setContentsMargins(14, 0, 14, 0);
    row->setSpacing(12);
    auto* symbol = new QLabel;
    symbol->setPixmap(symbolPixmap("eject.circle.fill", 26, panel_->palette().color(QPalette::Highlight)));
    row->addWidget(symbol, 0, Qt::AlignVCenter);
    label_ = new QLabel;
    label_->setTextFormat(Qt::PlainText);  // drive names are not markup
    label_->setWordWrap(true);
    row->addWidget(label_, 1, Qt::AlignVCenter);
}

ToastPanel::~ToastPanel() = default;

void ToastPanel::show(const QString& text) {
    label_->setText(text);
    const std::optional<QRect> frame = currentToastFrame();
    if (!frame) return;  // no screen to show it on
    panel_->setGeometry(*frame);
    panel_->show();
    panel_->raise();
}

void ToastPanel::hide() { panel_->hide(); }

}  // namespace kestrix::views

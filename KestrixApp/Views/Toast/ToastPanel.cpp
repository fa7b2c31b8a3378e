#include "KestrixApp/Views/Toast/ToastPanel.h"

#include <QGuiApplication>
#include <algorithm>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>

#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Toast/ToastPlacement.h"
#include "KestrixApp/Views/Toast/ToastText.h"

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

constexpr int sideInset = 14;
constexpr int verticalInset = 10;
constexpr int symbolSide = 26;
constexpr int spacing = 12;
constexpr int textWidth = toastSize.width() - 2 * sideInset - symbolSide - spacing;

std::optional<QRect> currentToastFrame(QSize size) {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas.push_back(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    return toastFrame(primary ? std::optional<QRect>(primary->availableGeometry()) : std::nullopt, areas, size);
}

}  // namespace

ToastPanel::ToastPanel() : panel_(std::make_unique<ToastCard>()) {
    panel_->setObjectName("toast");
    auto* row = new QHBoxLayout(panel_.get());
    row->setContentsMargins(sideInset, verticalInset, sideInset, verticalInset);
    row->setSpacing(spacing);
    auto* symbol = new QLabel;
    symbol->setPixmap(symbolPixmap("eject.circle.fill", symbolSide, panel_->palette().color(QPalette::Highlight)));
    row->addWidget(symbol, 0, Qt::AlignVCenter);
    label_ = new QLabel;
    label_->setTextFormat(Qt::PlainText);  // drive names are not markup
    label_->setWordWrap(true);
    label_->setFixedWidth(textWidth);
    row->addWidget(label_, 1);
}

ToastPanel::~ToastPanel() = default;

void ToastPanel::show(const QString& text) {
    // Taller for a longer text, up to its line limit; beyond it the end is cut, and screen
    // readers still get the whole text.
    text_ = text;
    label_->setText(elidedToLines(text, label_->font(), textWidth, toastLineLimit));
    label_->setAccessibleName(text);
    const int height = std::max(toastSize.height(), label_->heightForWidth(textWidth) + 2 * verticalInset);
    panel_->setFixedSize(toastSize.width(), height);
    const std::optional<QRect> frame = currentToastFrame(panel_->size());
    if (!frame) return;  // no screen to show it on
    panel_->setGeometry(*frame);
    panel_->show();
    panel_->raise();
}

void ToastPanel::hide() { panel_->hide(); }

}  // namespace kestrix::views

#include "KestrixApp/Views/Cards/ElidedLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace kestrix::views {

namespace {

// Enough to tell a few names apart before the ellipsis.
constexpr int shortestShown = 4;

}  // namespace

ElidedLabel::ElidedLabel(const QString& whole, QWidget* parent) : QLabel(parent), whole_(whole) {
    setTextFormat(Qt::PlainText);
    setAccessibleName(whole_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    elide();
}

QSize ElidedLabel::sizeHint() const {
    // Rounded up: the text's width has fractions, and a pixel short of it would cut the text.
    const int width = static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(whole_))) + 1;
    return QSize(width, fontMetrics().height()).grownBy(contentsMargins());
}

QSize ElidedLabel::minimumSizeHint() const {
    const QMargins margins = contentsMargins();
    const QString shortest = whole_.left(shortestShown) + QChar(0x2026);
    const int width = std::min(fontMetrics().horizontalAdvance(shortest), fontMetrics().horizontalAdvance(whole_));
    return QSize(width, fontMetrics().height()).grownBy(margins);
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) elide();
}

void ElidedLabel::elide() {
    const QString shown = fontMetrics().elidedText(whole_, Qt::ElideRight, contentsRect().width());
    if (shown != text()) setText(shown);
    setToolTip(shown == whole_ ? QString() : whole_);
}

}  // namespace kestrix::views

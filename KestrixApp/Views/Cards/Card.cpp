#include "KestrixApp/Views/Cards/Card.h"

#include <QPainter>
#include <QVBoxLayout>

#include "KestrixApp/Views/Cards/TextStyle.h"

namespace kestrix::views {
namespace {

constexpr qreal outlineOpacity = 0.22;
constexpr qreal cornerRadius = 10.0;

}  // namespace

Card::Card(Tint tint, QWidget* parent) : QFrame(parent), tint_(tint), content_(new QVBoxLayout(this)) {
    content_->setContentsMargins(12, 12, 12, 12);
    content_->setSpacing(10);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void Card::setTint(Tint tint) {
    if (tint == tint_) return;
    tint_ = tint;
    update();
}

void Card::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = tintColor(tint_, palette());
    QColor fill = colour;
    fill.setAlphaF(fillOpacity);
    QColor outline = colour;
    outline.setAlphaF(outlineOpacity);
    painter.setPen(QPen(outline, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
}

}  // namespace kestrix::views

#include "KestrixApp/Views/Icons/TintedIconEngine.h"

#include <QPainter>
#include <utility>

namespace kestrix::views {

TintedIconEngine::TintedIconEngine(QIcon shape, QColor color) : shape_(std::move(shape)), color_(color) {}

QColor TintedIconEngine::colorFor(QIcon::Mode mode) const {
    // Disabled controls show their glyph faded, as the style fades their text.
    if (mode != QIcon::Disabled) return color_;
    QColor faded = color_;
    faded.setAlphaF(color_.alphaF() * 0.45f);
    return faded;
}

// The size is in device pixels, as QIcon asks for it.
QPixmap TintedIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal /*scale*/) {
    QPixmap pixmap = shape_.pixmap(size, 1.0, QIcon::Normal, state);
    if (pixmap.isNull()) return pixmap;
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), colorFor(mode));
    return pixmap;
}

QPixmap TintedIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

void TintedIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap drawn = scaledPixmap(rect.size() * scale, mode, state, scale);
    if (drawn.isNull()) return;
    drawn.setDevicePixelRatio(scale);
    const QSize shown = drawn.deviceIndependentSize().toSize();
    painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2,
                                                      (rect.height() - shown.height()) / 2),
                              shown),
                        drawn);
}

QSize TintedIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return shape_.actualSize(size, mode, state);
}

QList<QSize> TintedIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return shape_.availableSizes(mode, state);
}

bool TintedIconEngine::isNull() { return shape_.isNull(); }

QIconEngine* TintedIconEngine::clone() const { return new TintedIconEngine(shape_, color_); }

QIcon tintedIcon(const QIcon& shape, const QColor& color) {
    if (shape.isNull()) return {};
    return QIcon(new TintedIconEngine(shape, color));
}

}  // namespace kestrix::views

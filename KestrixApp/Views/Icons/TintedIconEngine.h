#pragma once

#include <QColor>
#include <QIcon>
#include <QIconEngine>

namespace kestrix::views {

// A one-colour glyph drawn in a colour of the app's choosing: the shape's pixels keep their
// coverage and take the colour, at whatever size the icon is asked for.
class TintedIconEngine : public QIconEngine {
public:
    TintedIconEngine(QIcon shape, QColor color);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QIconEngine* clone() const override;

private:
    QColor colorFor(QIcon::Mode mode) const;

    QIcon shape_;
    QColor color_;
};

// The shape's icon recoloured; an empty icon stays empty.
QIcon tintedIcon(const QIcon& shape, const QColor& color);

}  // namespace kestrix::views

#include "KestrixApp/Views/Cards/Chip.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include "KestrixApp/Views/Cards/Card.h"
#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Style/ColourContrast.h"

namespace kestrix::views {
namespace {

constexpr qreal backgroundOpacity = 0.16;

QColor withAlpha(QColor colour, qreal alpha) {
    colour.setAlphaF(static_cast<float>(alpha));
    return colour;
}

}  // namespace

Chip::Chip(const ChipLook& look, QWidget* parent) : QWidget(parent), icon_(new QLabel(this)), text_(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->setSpacing(4);
    layout->addWidget(icon_);
    layout->addWidget(text_);
    text_->setTextFormat(Qt::PlainText);
    text_->setFont(styledFont(TextStyle::caption, font(), true));
    // Always whole: the name beside it gives way instead.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setLook(look);
}

void Chip::setLook(const ChipLook& look) {
    tint_ = look.tint;
    text_->setText(shownText(look.text));
    symbol_ = look.symbol;
    setAccessibleName(text_->text());
    applyColours();
    update();
}

QString Chip::text() const { return text_->text(); }

void Chip::applyColours() {
    // The chip sits on its card, both in the tint, over the window.
    const QColor tint = tintColor(tint_, palette());
    const QColor card = composited(withAlpha(tint, Card::fillOpacity), palette().color(QPalette::Window));
    const QColor chip = composited(withAlpha(tint, backgroundOpacity), card);
    const QColor colour = readableOn(tint, chip, tintedTextContrast);
    QPalette colours = text_->palette();
    colours.setColor(QPalette::WindowText, colour);
    text_->setPalette(colours);
    // The glyph in the text's own colour, so that it reads as well as the text does.
    const int side = QFontMetrics(text_->font()).height();
    icon_->setPixmap(symbolPixmap(symbol_, side, colour));
}

void Chip::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) applyColours();
    QWidget::changeEvent(event);
}

void Chip::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(tintColor(tint_, palette()), backgroundOpacity));
    const QRectF area = rect();
    const qreal radius = area.height() / 2.0;
    painter.drawRoundedRect(area, radius, radius);
}

}  // namespace kestrix::views

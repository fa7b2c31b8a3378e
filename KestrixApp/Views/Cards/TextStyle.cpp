#include "KestrixApp/Views/Cards/TextStyle.h"

#include "KestrixApp/Views/Cards/ShownText.h"

namespace kestrix::views {
namespace {

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

}  // namespace

QFont styledFont(TextStyle style, const QFont& base, bool semibold) {
    QFont font = base;
    const qreal size = base.pointSizeF() > 0 ? base.pointSizeF() : 10.0;
    switch (style) {
        case TextStyle::headline:
            font.setWeight(QFont::Bold);
            break;
        case TextStyle::body: break;
        case TextStyle::callout: font.setPointSizeF(size * 0.95); break;
        case TextStyle::caption: font.setPointSizeF(size * 0.85); break;
        case TextStyle::caption2: font.setPointSizeF(size * 0.8); break;
    }
    if (semibold) font.setWeight(QFont::DemiBold);
    return font;
}

QColor tintColor(Tint tint, const QPalette& palette) {
    const bool dark = isDark(palette);
    switch (tint) {
        case Tint::blue: return dark ? QColor(10, 132, 255) : QColor(0, 122, 255);
        case Tint::orange: return dark ? QColor(255, 159, 10) : QColor(230, 126, 0);
        case Tint::purple: return dark ? QColor(191, 90, 242) : QColor(175, 82, 222);
        case Tint::red: return dark ? QColor(255, 69, 58) : QColor(215, 40, 30);
        case Tint::green: return dark ? QColor(48, 209, 88) : QColor(40, 167, 69);
    }
    return palette.color(QPalette::Highlight);
}

QColor secondaryTextColor(const QPalette& palette) {
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.65f);
    return color;
}

QPalette secondaryPalette(QPalette palette) {
    palette.setColor(QPalette::WindowText, secondaryTextColor(palette));
    palette.setColor(QPalette::ButtonText, secondaryTextColor(palette));
    return palette;
}

QLabel* plainLabel(std::string_view text, TextStyle style, QWidget* parent, bool secondary) {
    auto* label = new QLabel(shownText(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(styledFont(style, label->font()));
    if (secondary) label->setPalette(secondaryPalette(label->palette()));
    return label;
}

}  // namespace kestrix::views

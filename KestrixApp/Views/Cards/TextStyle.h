#pragma once

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <string_view>

#include "KestrixApp/Views/Cards/CardTexts.h"

namespace kestrix::views {

// The text sizes of the cards and lists, relative to the desktop's font.
enum class TextStyle { headline, body, callout, caption, caption2 };

QFont styledFont(TextStyle style, const QFont& base, bool semibold = false);

// A tint's colour, a shade lighter on dark palettes so that it keeps its contrast.
QColor tintColor(Tint tint, const QPalette& palette);
// The palette's text colour for secondary lines.
QColor secondaryTextColor(const QPalette& palette);
// The palette with its text in the secondary colour.
QPalette secondaryPalette(QPalette palette);

// A label that shows its text as it is (never as markup), wrapping where asked.
QLabel* plainLabel(std::string_view text, TextStyle style, QWidget* parent, bool secondary = false);

}  // namespace kestrix::views

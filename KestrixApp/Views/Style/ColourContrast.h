#pragma once

#include <QColor>

// How readable a colour is on another, in the terms of the web's accessibility guidelines.
namespace kestrix::views {

// Body text against its background.
inline constexpr double bodyTextContrast = 4.5;
// Text in a status tint (chips, the newest result): large or bold enough to need less.
inline constexpr double tintedTextContrast = 3.0;

double relativeLuminance(const QColor& colour);
// From 1 (the same) to 21 (black on white), whichever is lighter.
double contrastRatio(const QColor& first, const QColor& second);
// What a see-through colour looks like drawn over an opaque one.
QColor composited(const QColor& over, const QColor& under);
// The text colour made darker on a light background, or lighter on a dark one, just enough to
// reach the ratio; unchanged where it already does. The background keeps its colour: a tint's
// fill says which state it is, its text only needs to be read.
QColor readableOn(const QColor& text, const QColor& background, double minimumRatio);

}  // namespace kestrix::views

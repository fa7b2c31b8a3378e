#pragma once

#include <QLabel>
#include <QString>

namespace kestrix::views {

// Text sizes below the body text, as a fraction of it.
inline constexpr double captionSize = 0.85;
inline constexpr double bodySize = 1.0;

// A wrapped line of plain text in the secondary colour, at the given size.
QLabel* secondaryText(const QString& text, double relativeSize = bodySize);

// A section heading in a form.
QLabel* sectionHeading(const QString& text);

// The localized text as Qt wants it.
QString localizedText(const char* english);

}  // namespace kestrix::views

#pragma once

#include <QFont>
#include <QString>

namespace kestrix::views {

// The text as it fits in at most `lines` lines of that width, wrapped at words: whole when it
// fits, otherwise its last line cut with an ellipsis.
QString elidedToLines(const QString& text, const QFont& font, int width, int lines);

}  // namespace kestrix::views

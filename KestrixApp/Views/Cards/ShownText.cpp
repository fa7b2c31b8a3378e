#include "KestrixApp/Views/Cards/ShownText.h"

#include "TextSupport/VisibleText.h"

namespace kestrix::views {

QString shownText(std::string_view utf8) {
    // The same rule as the command line's output: what could act is written out, never run.
    const std::string shown = textsupport::visibleText(utf8);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

}  // namespace kestrix::views

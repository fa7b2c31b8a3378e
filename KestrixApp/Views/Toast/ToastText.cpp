#include "KestrixApp/Views/Toast/ToastText.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace kestrix::views {

QString elidedToLines(const QString& text, const QFont& font, int width, int lines) {
    if (lines < 1 || width < 1) return {};
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int made = 0;
    int lastLineStart = 0;
    bool more = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (made == lines) {
            more = true;
            break;
        }
        lastLineStart = line.textStart();
        ++made;
    }
    layout.endLayout();
    if (!more) return text;
    const QString rest = text.mid(lastLineStart).simplified();
    return text.left(lastLineStart) + QFontMetrics(font).elidedText(rest, Qt::ElideRight, width);
}

}  // namespace kestrix::views

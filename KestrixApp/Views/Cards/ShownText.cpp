#include "KestrixApp/Views/Cards/ShownText.h"

#include <QList>

namespace kestrix::views {
namespace {

bool disguises(uint scalar) {
    switch (QChar::category(scalar)) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph: return true;
        default: break;
    }
    // Embeddings, overrides and isolates reorder the text around them.
    return (scalar >= 0x202A && scalar <= 0x202E) || (scalar >= 0x2066 && scalar <= 0x2069);
}

}  // namespace

QString shownText(std::string_view utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QString shown;
    shown.reserve(text.size());
    for (const uint scalar : text.toUcs4()) {
        if (disguises(scalar)) {
            shown += QStringLiteral("\\u{") + QString::number(scalar, 16).toUpper() + u'}';
        } else {
            const char32_t character = scalar;
            shown += QString::fromUcs4(&character, 1);
        }
    }
    return shown;
}

}  // namespace kestrix::views

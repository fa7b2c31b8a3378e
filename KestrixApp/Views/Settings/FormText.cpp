#include "KestrixApp/Views/Settings/FormText.h"

#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {

QLabel* secondaryText(const QString& text, double relativeSize) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    makeSecondary(label);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * relativeSize);
    label->setFont(font);
    return label;
}

QLabel* sectionHeading(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString localizedText(const char* english) { return QString::fromStdString(localized(english)); }

}  // namespace kestrix::views

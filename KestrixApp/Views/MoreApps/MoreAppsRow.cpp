#include "KestrixApp/Views/MoreApps/MoreAppsRow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "KestrixApp/Views/MoreApps/MoreAppsLook.h"
#include "KestrixApp/Views/ViewStyle.h"

namespace kestrix::views {

namespace {

constexpr int badgeSide = 36;
constexpr int markSide = 16;

QLabel* textLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    // Clicks on the texts belong to the row.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

}  // namespace

MoreAppsRow::MoreAppsRow(Look look, QWidget* parent) : QPushButton(parent), look_(std::move(look)) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setToolTip(look_.help);
    setAccessibleName(look_.title);
    setAccessibleDescription(look_.help);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(12);

    const qreal ratio = devicePixelRatioF();
    auto* badge = new QLabel(this);
    badge->setObjectName("badge");
    badge->setPixmap(MoreAppsLook::badge(look_.symbol, look_.tint, badgeSide, ratio));
    badge->setFixedSize(badgeSide, badgeSide);
    badge->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(badge, 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* title = textLabel(look_.title, "title", this);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    texts->addWidget(title);
    if (!look_.subtitle.isEmpty()) {
        auto* subtitle = textLabel(look_.subtitle, "subtitle", this);
        makeSecondary(subtitle);
        texts->addWidget(subtitle);
    }
    layout->addLayout(texts, 1);

    auto* mark = new QLabel(this);
    mark->setPixmap(MoreAppsLook::opensElsewhereMark(look_.tint, markSide, ratio));
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(mark, 0, Qt::AlignVCenter);
}

// Sized by its contents, not by a button's text.
QSize MoreAppsRow::sizeHint() const { return layout()->sizeHint(); }
QSize MoreAppsRow::minimumSizeHint() const { return layout()->minimumSize(); }

void MoreAppsRow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace kestrix::views

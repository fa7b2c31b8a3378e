#include "KestrixApp/Views/Settings/LinkRow.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {

LinkRow::LinkRow(const QString& url, const QString& text, QWidget* parent) : QWidget(parent), url_(url) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    auto* link = new QLabel(url);
    link->setTextFormat(Qt::PlainText);
    link->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    link->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    words->addWidget(link);
    words->addWidget(secondaryText(text, captionSize));
    row->addLayout(words, 1);
    auto* button = new QToolButton;
    button->setObjectName("copy");
    button->setAutoRaise(true);
    const QString copyText = QString::fromStdString(localized("Copy"));
    const QIcon copyIcon = symbolIcon("doc.on.doc", button->palette().color(QPalette::ButtonText));
    button->setIcon(copyIcon);
    button->setText(copyText);
    // The word stands in where no icon theme has a copy symbol.
    button->setToolButtonStyle(copyIcon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    button->setToolTip(copyText);
    button->setAccessibleName(QString::fromStdString(localizedFormat("Copy %1", {url.toStdString()})));
    connect(button, &QToolButton::clicked, this, &LinkRow::copy);
    row->addWidget(button, 0, Qt::AlignVCenter);
}

void LinkRow::copy() const {
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(url_);
}

}  // namespace kestrix::views

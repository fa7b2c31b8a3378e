#include "KestrixApp/Views/MainWindow/Section.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/ViewStyle.h"

namespace kestrix::views {

Section::Section(const QString& title, std::string_view symbolName, const QColor& tint, QWidget* parent)
    : QWidget(parent), title_(title) {
    setAccessibleName(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(8);
    auto* heading = new QHBoxLayout();
    heading->setSpacing(8);
    auto* symbol = new QLabel(this);
    symbol->setPixmap(symbolPixmap(symbolName, 18, tint));
    heading->addWidget(symbol);
    auto* name = new QLabel(title, this);
    scaleFont(name, 1.2, true);
    heading->addWidget(name);
    count_ = new QLabel(this);
    makeSecondary(count_);
    QFont digits = count_->font();
    digits.setStyleHint(QFont::Monospace);
    digits.setFamily("monospace");
    count_->setFont(digits);
    heading->addWidget(count_);
    heading->addStretch();
    layout->addLayout(heading);
    rows_ = new QVBoxLayout();
    rows_->setSpacing(8);
    layout->addLayout(rows_);
    setCount(0);
}

void Section::setCount(int count) {
    count_->setText(QString::number(count));
    setAccessibleName(title_ + ", " + QString::number(count));
    setVisible(count > 0);
}

void Section::clear() {
    while (QLayoutItem* item = rows_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

}  // namespace kestrix::views

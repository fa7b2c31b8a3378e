#include "KestrixApp/Views/MainWindow/Tile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/ViewStyle.h"

namespace kestrix::views {

Tile::Tile(const QString& label, std::string_view symbolName, const QColor& tint, QWidget* parent)
    : QFrame(parent), label_(label) {
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    auto* top = new QHBoxLayout();
    auto* symbol = new QLabel(this);
    symbol->setPixmap(symbolPixmap(symbolName, 20, tint));
    top->addWidget(symbol);
    value_ = new QLabel("0", this);
    scaleFont(value_, 1.8, true);
    top->addWidget(value_);
    top->addStretch();
    layout->addLayout(top);
    auto* caption = new QLabel(label, this);
    makeSecondary(caption);
    layout->addWidget(caption);
    setValue(0);
}

void Tile::setValue(int value) {
    value_->setText(QString::number(value));
    setAccessibleName(label_ + ": " + QString::number(value));
}

}  // namespace kestrix::views

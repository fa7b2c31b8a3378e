#include "KestrixApp/Views/MainWindow/ScrollingColumn.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kestrix::views {

QVBoxLayout* scrollingColumn(QWidget* page) {
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    pageLayout->addWidget(scroll);

    auto* canvas = new QWidget(scroll);
    auto* centring = new QHBoxLayout(canvas);
    centring->setContentsMargins(18, 18, 18, 18);
    auto* column = new QWidget(canvas);
    column->setMaximumWidth(860);
    centring->addWidget(column);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    scroll->setWidget(canvas);
    return layout;
}

}  // namespace kestrix::views

#include "KestrixApp/Views/Settings/FormSection.h"

namespace kestrix::views {

QGroupBox* formSection(const QString& heading, std::initializer_list<QWidget*> rows) {
    auto* section = new QGroupBox(heading);
    auto* layout = new QVBoxLayout(section);
    for (QWidget* row : rows) layout->addWidget(row);
    return section;
}

QWidget* formPage(std::initializer_list<QWidget*> sections) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);
    for (QWidget* section : sections) layout->addWidget(section);
    layout->addStretch(1);
    return page;
}

}  // namespace kestrix::views

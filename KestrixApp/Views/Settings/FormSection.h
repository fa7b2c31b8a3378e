#pragma once

#include <QGroupBox>
#include <QString>
#include <QVBoxLayout>
#include <initializer_list>

namespace kestrix::views {

// A group of a settings form, headed when the heading is not empty, with its rows one below
// the other.
QGroupBox* formSection(const QString& heading, std::initializer_list<QWidget*> rows);

// A tab's page: the sections from the top, the rest of the page left empty.
QWidget* formPage(std::initializer_list<QWidget*> sections);

}  // namespace kestrix::views

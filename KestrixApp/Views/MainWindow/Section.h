#pragma once

#include <QColor>
#include <QString>
#include <string_view>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace kestrix::views {

// A titled part of a page: its symbol in its tint, the title, how many rows it holds, and the rows.
class Section : public QWidget {
    Q_OBJECT
public:
    Section(const QString& title, std::string_view symbol, const QColor& tint, QWidget* parent = nullptr);

    QVBoxLayout* rows() const { return rows_; }
    // Shows the count beside the title; a count of zero hides the section.
    void setCount(int count);
    // Deletes every row.
    void clear();

private:
    QString title_;
    QLabel* count_;
    QVBoxLayout* rows_;
};

}  // namespace kestrix::views

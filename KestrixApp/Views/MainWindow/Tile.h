#pragma once

#include <QColor>
#include <QFrame>
#include <QString>
#include <string_view>

class QLabel;

namespace kestrix::views {

// One number of a summary: large, with its symbol in its tint and its label under it.
class Tile : public QFrame {
    Q_OBJECT
public:
    Tile(const QString& label, std::string_view symbol, const QColor& tint, QWidget* parent = nullptr);
    void setValue(int value);

private:
    QString label_;
    QLabel* value_;
};

}  // namespace kestrix::views

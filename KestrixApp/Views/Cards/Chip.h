#pragma once

#include <QWidget>

#include "KestrixApp/Views/Cards/CardTexts.h"

class QLabel;

namespace kestrix::views {

// A status badge: the symbol and a short text on a rounded background of its tint.
class Chip : public QWidget {
    Q_OBJECT
public:
    explicit Chip(const ChipLook& look, QWidget* parent = nullptr);

    void setLook(const ChipLook& look);
    QString text() const;
    Tint tint() const { return tint_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColours();

    QLabel* icon_;
    QLabel* text_;
    Tint tint_ = Tint::green;
    std::string_view symbol_;
};

}  // namespace kestrix::views

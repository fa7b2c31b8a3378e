#pragma once

#include <QFrame>

#include "KestrixApp/Views/Cards/CardTexts.h"

class QVBoxLayout;

namespace kestrix::views {

// The rounded, tinted container of a drive and of list entries: its content stacked top to
// bottom, inset on every side.
class Card : public QFrame {
    Q_OBJECT
public:
    explicit Card(Tint tint, QWidget* parent = nullptr);

    void setTint(Tint tint);
    Tint tint() const { return tint_; }
    QVBoxLayout* content() const { return content_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Tint tint_;
    QVBoxLayout* content_;
};

}  // namespace kestrix::views

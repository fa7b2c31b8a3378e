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
    // How strongly the tint fills the card; what sits on it is read against that.
    static constexpr qreal fillOpacity = 0.07;

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

#pragma once

#include <QColor>
#include <QPushButton>
#include <QString>
#include <string>

namespace kestrix::views {

// One clickable row of the More Apps list: a tinted badge with the symbol, a title with an
// optional line below it, and the mark of a link that opens elsewhere. Clicking, Space or
// Enter emits `clicked`.
class MoreAppsRow : public QPushButton {
    Q_OBJECT

public:
    struct Look {
        std::string symbol;
        QColor tint;
        QString title;
        QString subtitle;  // empty: no second line
        QString help;      // the tooltip, also read to screen readers
    };

    explicit MoreAppsRow(Look look, QWidget* parent = nullptr);

    const Look& look() const { return look_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Look look_;
};

}  // namespace kestrix::views

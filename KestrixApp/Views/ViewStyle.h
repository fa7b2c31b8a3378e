#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include "KestrixApp/Views/Cards/TextStyle.h"

namespace kestrix::views {

// Text in the secondary colour, made from the palette's own text colour: many palettes leave
// their placeholder colour at its light default, unreadable on a dark window.
inline void makeSecondary(QWidget* widget) { widget->setPalette(secondaryPalette(widget->palette())); }

inline void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// The font a step or two larger or smaller than the widget's own, optionally bold.
inline void scaleFont(QWidget* widget, double factor, bool bold = false) {
    QFont font = widget->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    widget->setFont(font);
}

// A label that shows text from outside (drive and program names) and never reads it as markup.
inline QLabel* plainLabel(const QString& content, QWidget* parent = nullptr) {
    auto* label = new QLabel(content, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A button that Return presses as well as Space, so the keyboard reaches every action.
inline QPushButton* keyboardButton(QPushButton* button) {
    button->setAutoDefault(true);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

// A menu button that shows its symbol only: the style's menu arrow would say it twice.
inline void hideMenuArrow(QPushButton* button) {
    button->setStyleSheet("QPushButton::menu-indicator { image: none; width: 0px; }");
}

namespace tint {
inline const QColor orange{0xE6, 0x7E, 0x22};
inline const QColor green{0x2E, 0xA0, 0x43};
inline const QColor blue{0x35, 0x84, 0xE4};
}  // namespace tint

}  // namespace kestrix::views

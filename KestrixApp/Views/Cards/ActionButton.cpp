#include "KestrixApp/Views/Cards/ActionButton.h"

#include <QKeyEvent>

#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"

namespace kestrix::views {

ActionButton::ActionButton(std::string_view title, std::string_view symbol, QWidget* parent)
    : QPushButton(shownText(title), parent) {
    if (!symbol.empty()) setIcon(symbolIcon(symbol, palette().color(QPalette::ButtonText)));
    setFocusPolicy(Qt::StrongFocus);
}

void ActionButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (menu()) showMenu();
        else click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace kestrix::views

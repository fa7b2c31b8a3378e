#pragma once

#include <QPushButton>
#include <string_view>

namespace kestrix::views {

// A push button that Return and Enter press too, as Space does, so that every action of a card
// is reachable from the keyboard alone. A button with a menu opens it.
class ActionButton : public QPushButton {
    Q_OBJECT
public:
    // The symbol may be empty; the accessible name defaults to the title.
    ActionButton(std::string_view title, std::string_view symbol, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kestrix::views

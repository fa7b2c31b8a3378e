#pragma once

class QVBoxLayout;
class QWidget;

namespace kestrix::views {

// Fills the page with a scrolling column, inset 18 and at most 860 wide, and returns the
// column's layout for the page's parts.
QVBoxLayout* scrollingColumn(QWidget* page);

}  // namespace kestrix::views

#pragma once

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

// What a user would see wrong in a window, found by looking at its widgets and its picture.
namespace kestrix::views::testing {

// Wrapped labels lower than their text needs at their width, names cut that had room, and widgets that reach outside
// what their parent shows (sideways only inside a scrolling area, which scrolls up and down).
std::vector<std::string> layoutProblems(QWidget& window);

// Labels and buttons that meant to show an icon and show nothing, and tabs without theirs.
std::vector<std::string> iconProblems(QWidget& window);

// Labels whose text is too faint on the background the picture shows under them: body text
// below 4.5:1, text in a status tint below 3:1.
std::vector<std::string> contrastProblems(QWidget& window, const QImage& picture);

}  // namespace kestrix::views::testing

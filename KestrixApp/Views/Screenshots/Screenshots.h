#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <variant>

namespace kestrix::views {

// Renders the menu panel, both pages of the main window, each settings tab and the welcome and
// help windows over the demonstration system after a few ejects, and one full drive card per
// display state over a world made for it, into PNG files in the folder. The names of the files written, or why the pictures could not be made.
std::variant<QStringList, std::string> renderScreenshots(const QString& folder);

}  // namespace kestrix::views

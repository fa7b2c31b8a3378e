#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <variant>

namespace kestrix::views {

// Renders the menu panel, both pages of the main window (the drives page also in a dark
// palette), each settings tab and the welcome and help windows into PNG files in the folder: over
// the world in that file as it starts, or without one over the demonstration system after a few
// ejects, with one full drive card per display state over a world made for it. The names of
// the files written, or why the pictures could not be made.
std::variant<QStringList, std::string> renderScreenshots(const QString& folder,
                                                        const std::optional<std::string>& worldPath = std::nullopt);

}  // namespace kestrix::views

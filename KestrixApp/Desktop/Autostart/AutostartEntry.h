#pragma once

#include <optional>
#include <string>

namespace kestrix::desktop::AutostartEntry {

// The option the autostart entry launches the app with: straight into the tray, no window.
inline constexpr const char* backgroundOption = "--background";

// The autostart entry: the installed desktop entry's main group when there is one (its name,
// icon and translations), started in the background, or a plain entry that runs executable.
// Keys that would have the session start it another way (D-Bus activation, links, actions)
// are left out, so that the Exec line is what runs.
std::string text(const std::optional<std::string>& installedEntry, const std::string& executable);

// Whether an autostart entry starts the app: it does unless it says Hidden=true, the way a
// user or a desktop switches an entry off without deleting it.
bool starts(const std::string& entryText);

}  // namespace kestrix::desktop::AutostartEntry

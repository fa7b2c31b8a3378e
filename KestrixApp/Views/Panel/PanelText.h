#pragma once

#include <QString>
#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "KestrixKit/Flow/DriveReport.h"

namespace kestrix::views {

// How long the newest success stays under the panel's list.
inline constexpr std::chrono::seconds lastEjectShownFor{600};

// "No drives connected", or the number listed and how many need the user.
QString statusLine(std::size_t driveCount, int attentionCount);

// The sentence of the newest success while it is less than ten minutes old.
std::optional<QString> lastEjectLine(const std::vector<DriveReport>& recent,
                                     std::chrono::system_clock::time_point now);

// The Eject All hotkey in the words of the system the app runs on.
QString hotkeyGlyphs();

}  // namespace kestrix::views

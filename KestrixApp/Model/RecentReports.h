#pragma once

#include <cstddef>
#include <vector>

#include "KestrixKit/Flow/DriveReport.h"

namespace kestrix {

// The successful ejects since launch, newest first, at most this many.
inline constexpr std::size_t recentLimit = 6;

void addRecent(std::vector<DriveReport>& recent, DriveReport report);

}  // namespace kestrix

#pragma once

#include <string>

#include "KestrixKit/Linux/Files/HistoryLocation.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace kestrix::views {

// The history file's place as the Privacy tab names it: where it really is on this machine,
// the home folder written as "~"; in a simulated world, where that system keeps it.
std::string shownHistoryPath(Vocabulary vocabulary, const EnvironmentLookup& environment);

}  // namespace kestrix::views

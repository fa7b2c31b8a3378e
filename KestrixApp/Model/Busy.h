#pragma once

#include <string>

namespace kestrix {

// The operation running on a drive; the only guard against a second one on the same drive.
enum class Busy { checking, ejecting, quitting, waitingForBackup, stoppingBackup, releasing };

// What a drive shows while the operation runs: "Checking…", "Ejecting…", …
std::string label(Busy busy);

}  // namespace kestrix

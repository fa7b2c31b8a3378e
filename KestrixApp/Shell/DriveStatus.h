#pragma once

#include <string>

namespace kestrix {
class AppModel;
}

namespace kestrix::shell {

// The listed drives for panel widgets and scripts, as JSON: each drive's name, kind, what its
// card shows ("ready", "inUse", …), the busy label while busy and the sentence of a failed last
// report, then how many drives need the user.
std::string driveStatusJson(const AppModel& model);

}  // namespace kestrix::shell

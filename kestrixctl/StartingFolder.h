#pragma once

#include "kestrixctl/GlobalOptions.h"

namespace kestrixctl {

// Makes the --world and --history paths absolute, then moves to "/": started from a folder on a
// drive, the command would otherwise keep that drive busy itself.
void leaveStartingFolder(GlobalOptions& options);

}  // namespace kestrixctl

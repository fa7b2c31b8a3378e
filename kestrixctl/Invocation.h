#pragma once

#include <ostream>

#include "kestrixctl/GlobalOptions.h"
#include "KestrixKit/System/SystemContext.h"

namespace kestrixctl {

enum ExitStatus : int { exitSuccess = 0, exitNotDone = 1, exitUsage = 2 };

// Everything a command needs: the system it acts on, the options it was given, where to write.
struct Invocation {
    kestrix::SystemContext& system;
    const GlobalOptions& options;
    std::ostream& out;
    std::ostream& err;
};

// A usage error: the message and a pointer to --help on stderr, exit status 2.
int usageError(const Invocation& invocation, const std::string& message);

}  // namespace kestrixctl

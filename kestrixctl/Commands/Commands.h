#pragma once

#include <string_view>

#include "kestrixctl/Invocation.h"

namespace kestrixctl {

using Command = int (*)(const Invocation&);

// The command of that name, or nullptr.
Command findCommand(std::string_view name);

int runDrives(const Invocation& invocation);
int runCheck(const Invocation& invocation);
int runHistory(const Invocation& invocation);
int runEject(const Invocation& invocation);
int runQuitAndEject(const Invocation& invocation);
int runEjectAll(const Invocation& invocation);
int runUrl(const Invocation& invocation);

}  // namespace kestrixctl

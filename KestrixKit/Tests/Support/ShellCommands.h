#pragma once

#include <string>

namespace kestrix::test {

// What a shell command prints, without its trailing newlines.
std::string commandOutput(const std::string& command);

// Runs a shell command with its output discarded; whether it succeeded.
bool runQuietly(const std::string& command);

// Shell commands that, run first in a new mount namespace, lazily unmount there every drive under
// /media but the one at keep (none when it is empty): a private copy of another test's drive
// would keep that drive's file system alive, and its eject would wait on this namespace.
std::string unmountOtherDrivesInThisNamespace(const std::string& keep = "");

}  // namespace kestrix::test

#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::test {

// Why this machine cannot hand out a chosen pid (/proc/sys/kernel/ns_last_pid needs root);
// nothing when it can.
std::optional<std::string> pidReuseProblem();

// Starts a child that gets the given pid, which another process must have given up: the kernel
// is told the pid before it was the last one handed out (ns_last_pid), then the child is forked.
// Other programs forking at the same moment may take it first, so this tries a few times;
// nullptr when it never got it. start makes the child (a ChildProcess constructor).
std::unique_ptr<ChildProcess> startWithPid(pid_t pid, const std::function<std::unique_ptr<ChildProcess>()>& start);

}  // namespace kestrix::test

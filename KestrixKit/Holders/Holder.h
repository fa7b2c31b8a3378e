#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/HelperKind.h"
#include "KestrixKit/Holders/Hold.h"
#include "KestrixKit/Holders/ProcessIdentity.h"

namespace kestrix {

// A process that holds a drive, and how.
struct Holder {
    std::int32_t pid = 0;
    // The app's name for a running app, else the process name.
    std::string name;
    std::optional<std::string> executablePath;
    // The app the process belongs to, by its location: the app's own bundlePath, else the
    // outermost .app bundle containing the executable.
    std::optional<std::string> appBundlePath;
    std::uint32_t uid = 0;
    std::optional<AppIdentity> app;
    HelperKind kind = HelperKind::commandLine;
    // De-duplicated, in discovery order; empty for a holder the system named.
    std::vector<Hold> holds;
    bool namedByMacOS = false;
    // When the process started, read with the scan: with the pid, the process the scan saw.
    std::optional<std::uint64_t> startTime;
    // A program it started that still runs, by name: a shell running a job is not at its prompt.
    std::optional<std::string> job;

    std::int32_t id() const { return pid; }
    ProcessIdentity identity() const { return {.pid = pid, .startTime = startTime}; }
    bool isWriting() const;
    // The first open file's path, else the first hold's path.
    std::optional<std::string> mainPath() const;

    bool operator==(const Holder&) const = default;
};

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "KestrixKit/Flow/RunningApp.h"
#include "KestrixKit/Holders/AppIdentity.h"

namespace kestrix::AppIdentityRule {

// How the holder scanner sees the running app with this pid: its display name, else its
// bundle's file name without the extension, else an empty name. Absent for pids from 0 down
// and for processes that are no running app.
std::optional<AppIdentity> appIdentity(std::int32_t pid, const std::vector<RunningApp>& runningApps);

}  // namespace kestrix::AppIdentityRule

#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a process's cgroup path (the unified hierarchy's, see appcgroup::unifiedPath) tells of
// what runs it, for naming the owner of a mount namespace.
namespace kestrix::servicecgroup {

// The system service it runs in: "/system.slice/cups.service" gives "cups.service".
std::optional<std::string> systemService(std::string_view cgroupPath);

// The container it runs in, by the engine's own scope or folder ("docker-ID.scope",
// "libpod-ID.scope", "/docker/ID", "machine-NAME.scope"): the first 12 characters of an ID, or the
// machine's name.
std::optional<std::string> container(std::string_view cgroupPath);

}  // namespace kestrix::servicecgroup

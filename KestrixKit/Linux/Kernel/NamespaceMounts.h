#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// A mount in another mount namespace than this process's, with one process of that namespace.
struct NamespaceMount {
    std::int32_t pid = 0;
    MountEntry mount;

    bool operator==(const NamespaceMount&) const = default;
};

// Whether a mount in another namespace goes when this namespace's mounts of its file system are
// unmounted: it receives their unmounts (its master is their peer group) or is their peer. A
// private copy, as a sandbox makes, stays.
bool followsUnmountsOf(const MountEntry& other, const std::vector<MountEntry>& ours);

// The mounts of these file systems (st_dev numbers) in every mount namespace but this process's,
// each namespace found from /proc/PID/ns/mnt and its mountinfo read once, through its lowest
// pid. A namespace whose processes may not be inspected is not seen.
std::vector<NamespaceMount> otherNamespaceMounts(const std::string& procRoot, const std::set<std::uint32_t>& devices);

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "KestrixKit/Holders/MountNamespaces.h"
#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// A mount in another mount namespace than this process's, with one process of that namespace.
struct NamespaceMount {
    std::int32_t pid = 0;
    MountEntry mount;

    bool operator==(const NamespaceMount&) const = default;
};

// What the other namespaces hold, and how many of them were closed to the look.
struct NamespaceMountsFound {
    std::vector<NamespaceMount> mounts;
    int hidden = 0;
};

// Whether a mount in another namespace goes when this namespace's mounts of its file system are
// unmounted: it receives their unmounts (its master is their peer group) or is their peer. A
// private copy, as a sandbox makes, stays.
bool followsUnmountsOf(const MountEntry& other, const std::vector<MountEntry>& ours);

// The mount namespace of every process under procRoot, from each /proc/PID/ns/mnt link: for a look
// that no process scan came before. A process whose namespace the system keeps to itself is
// counted closed.
MountNamespaces readMountNamespaces(const std::string& procRoot);

// The mounts of these file systems (st_dev numbers) in every namespace but this process's, each
// namespace's mountinfo read once, through its lowest pid. A namespace closed to the look (its
// processes' or its mountinfo) is counted hidden.
NamespaceMountsFound otherNamespaceMounts(const std::string& procRoot, const MountNamespaces& namespaces,
                                          const std::set<std::uint32_t>& devices);

}  // namespace kestrix

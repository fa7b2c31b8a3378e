#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "KestrixKit/Holders/DriveReferences.h"

namespace kestrix {

// The mount namespaces that a process scan met, so that the kernel's holders need no second walk
// of the processes: each namespace by its number, with the lowest pid among its processes.
struct MountNamespaces {
    std::map<std::uint64_t, std::int32_t> lowestPIDs;
    // Processes that could be read but whose namespace the system would not tell.
    int closed = 0;

    bool operator==(const MountNamespaces&) const = default;
};

// The namespaces of the readable processes (references[i] belongs to pids[i]); absent when no
// process told its namespace, as from a source that does not know namespaces.
std::optional<MountNamespaces> mountNamespacesOf(const std::vector<std::int32_t>& pids,
                                                 const std::vector<std::optional<DriveReferences>>& references);

}  // namespace kestrix

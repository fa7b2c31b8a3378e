#include "KestrixKit/Holders/MountNamespaces.h"

namespace kestrix {

std::optional<MountNamespaces> mountNamespacesOf(const std::vector<std::int32_t>& pids,
                                                 const std::vector<std::optional<DriveReferences>>& references) {
    MountNamespaces namespaces;
    bool told = false;
    for (std::size_t index = 0; index < pids.size() && index < references.size(); ++index) {
        const std::optional<DriveReferences>& process = references[index];
        if (!process) continue;
        if (process->mountNamespaceClosed) {
            ++namespaces.closed;
            told = true;
        } else if (process->mountNamespace) {
            const auto [entry, isNew] = namespaces.lowestPIDs.try_emplace(*process->mountNamespace, pids[index]);
            if (!isNew && pids[index] < entry->second) entry->second = pids[index];
            told = true;
        }
    }
    if (!told) return std::nullopt;
    return namespaces;
}

}  // namespace kestrix

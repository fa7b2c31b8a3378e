#include "KestrixKit/Linux/Mounts/MountVisibility.h"

#include <map>
#include <set>

namespace kestrix {
namespace {

class MountTree {
public:
    explicit MountTree(const std::vector<MountEntry>& mounts) {
        for (const MountEntry& mount : mounts) byId_.emplace(mount.id, &mount);
        for (const MountEntry& mount : mounts) {
            const auto parent = byId_.find(mount.parentId);
            if (parent != byId_.end() && parent->second != &mount && parent->second->mountPoint == mount.mountPoint) {
                covered_.insert(mount.parentId);
            }
        }
    }

    bool isVisible(const MountEntry& mount) const { return !covered_.contains(mount.id) && isReachable(mount); }

private:
    // Whether the folder a mount sits on can be reached. The walk is bounded by the table's size,
    // so that a damaged table with a cycle of parents ends.
    bool isReachable(const MountEntry& mount) const {
        const MountEntry* child = &mount;
        for (std::size_t step = 0; step < byId_.size(); ++step) {
            const auto parent = byId_.find(child->parentId);
            if (parent == byId_.end() || parent->second == child) return true;
            // A mount on its parent's own folder is what covers that parent; a mount further
            // inside needs its parent uncovered.
            if (parent->second->mountPoint != child->mountPoint && covered_.contains(parent->first)) return false;
            child = parent->second;
        }
        return false;
    }

    std::map<std::uint64_t, const MountEntry*> byId_;
    std::set<std::uint64_t> covered_;
};

}  // namespace

std::vector<MountEntry> visibleMounts(const std::vector<MountEntry>& mounts) {
    const MountTree tree(mounts);
    std::vector<MountEntry> visible;
    for (const MountEntry& mount : mounts) {
        if (tree.isVisible(mount)) visible.push_back(mount);
    }
    return visible;
}

}  // namespace kestrix

#include "KestrixKit/Volumes/EjectOrder.h"

#include <algorithm>

#include "KestrixKit/Holders/DriveScope.h"

namespace kestrix {
namespace {

std::string_view withoutTrailingSlash(std::string_view path) {
    if (path.size() > 1 && path.ends_with('/')) path.remove_suffix(1);
    return path;
}

// Whether the path lies strictly below the mount path.
bool liesInsideMount(std::string_view path, const std::string& mountPath) {
    return withoutTrailingSlash(path) != withoutTrailingSlash(mountPath) && DriveScope::isUnder(path, {mountPath});
}

// Whether the outer drive holds the inner one: one of the inner drive's volumes is mounted below
// one of the outer drive's, or lies on a disk image whose file is on it.
bool isHeldInside(const Drive& inner, const Drive& outer) {
    return std::any_of(inner.volumes.begin(), inner.volumes.end(), [&](const DriveVolume& innerVolume) {
        return std::any_of(outer.volumes.begin(), outer.volumes.end(), [&](const DriveVolume& outerVolume) {
            return liesInsideMount(innerVolume.mountPath, outerVolume.mountPath) ||
                   (innerVolume.imageFile && liesInsideMount(*innerVolume.imageFile, outerVolume.mountPath));
        });
    });
}

}  // namespace

std::vector<Drive> ejectOrder(std::vector<Drive> drives) {
    std::vector<Drive> ordered;
    ordered.reserve(drives.size());
    while (!drives.empty()) {
        // The first drive with nothing left mounted inside it; a loop of drives mounted in one
        // another cannot be, but would keep its order.
        auto next = std::find_if(drives.begin(), drives.end(), [&](const Drive& outer) {
            return std::none_of(drives.begin(), drives.end(),
                                [&](const Drive& inner) { return isHeldInside(inner, outer); });
        });
        if (next == drives.end()) next = drives.begin();
        ordered.push_back(std::move(*next));
        drives.erase(next);
    }
    return ordered;
}

}  // namespace kestrix

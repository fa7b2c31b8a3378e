#include "KestrixKit/Holders/DriveScope.h"

namespace kestrix {

bool DriveScope::contains(const VnodeRef& reference) const {
    return containsDevice(reference.device) || containsPath(reference.path);
}

bool DriveScope::isUnder(std::string_view path, const std::vector<std::string>& mountPaths) {
    for (std::string_view base : mountPaths) {
        if (base.ends_with('/')) base.remove_suffix(1);
        if (path == base) return true;
        if (path.size() > base.size() && path.starts_with(base) && path[base.size()] == '/') return true;
    }
    return false;
}

}  // namespace kestrix

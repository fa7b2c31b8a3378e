#include "UDisks2/UDisks2Objects.h"

#include <algorithm>

namespace kestrix {

const UDisks2Block* UDisks2Objects::block(const std::string& path) const {
    const auto found = std::find_if(blocks.begin(), blocks.end(), [&](const UDisks2Block& b) { return b.path == path; });
    return found == blocks.end() ? nullptr : &*found;
}

const UDisks2Drive* UDisks2Objects::drive(const std::string& path) const {
    const auto found = std::find_if(drives.begin(), drives.end(), [&](const UDisks2Drive& d) { return d.path == path; });
    return found == drives.end() ? nullptr : &*found;
}

}  // namespace kestrix

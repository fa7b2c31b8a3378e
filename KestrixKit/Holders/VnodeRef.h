#pragma once

#include <cstdint>
#include <string>

namespace kestrix {

// One file-system object a process refers to.
struct VnodeRef {
    std::string path;
    // The file system's device number in st_dev encoding; 0 when none is known.
    std::uint32_t device = 0;
    // Opened for writing; never set for folders and mapped files.
    bool writing = false;

    bool operator==(const VnodeRef&) const = default;
};

}  // namespace kestrix

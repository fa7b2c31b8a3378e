#pragma once

#include <string>

#include "KestrixKit/Holders/HoldKind.h"

namespace kestrix {

struct Hold {
    HoldKind kind = HoldKind::openFile;
    std::string path;
    // Only an open file opened for writing.
    bool writing = false;

    bool operator==(const Hold&) const = default;
};

}  // namespace kestrix

#pragma once

#include <vector>

#include "KestrixKit/Holders/Holder.h"

namespace kestrix {

// The result of one holder scan.
struct ScanResult {
    std::vector<Holder> holders;
    // Processes whose open files could be read, and those closed to the scan.
    int checked = 0;
    int hidden = 0;
    bool deep = false;
    double seconds = 0;

    bool operator==(const ScanResult&) const = default;
};

}  // namespace kestrix

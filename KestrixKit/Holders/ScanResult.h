#pragma once

#include <vector>

#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolder.h"

namespace kestrix {

// The result of one holder scan.
struct ScanResult {
    std::vector<Holder> holders;
    // Processes whose open files could be read, and those closed to the scan.
    int checked = 0;
    int hidden = 0;
    bool deep = false;
    double seconds = 0;
    // What the kernel itself keeps the drive busy with.
    std::vector<KernelHolder> kernelHolders;

    // Nothing holds the drive, neither a process nor the kernel.
    bool isEmpty() const { return holders.empty() && kernelHolders.empty(); }

    bool operator==(const ScanResult&) const = default;
};

}  // namespace kestrix

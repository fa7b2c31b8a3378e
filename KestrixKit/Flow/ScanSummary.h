#pragma once

namespace kestrix {

// How thorough the scan behind a verdict was.
struct ScanSummary {
    int checked = 0;
    int hidden = 0;
    bool deep = false;

    bool operator==(const ScanSummary&) const = default;
};

}  // namespace kestrix

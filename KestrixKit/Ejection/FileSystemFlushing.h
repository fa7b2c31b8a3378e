#pragma once

#include <functional>

#include "KestrixKit/Ejection/FlushProgress.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// Writes out what the page cache still holds for a drive's file systems, before they are
// unmounted: the wait then shows while it lasts, and the unmount itself is short.
class FileSystemFlushing {
public:
    virtual ~FileSystemFlushing() = default;
    // Returns once the drive's file systems hold nothing unwritten. While the writing lasts longer
    // than flushShownAfterSeconds, `shown` hears now and then what is left, and once more, with
    // nothing left, when it is over. A file system no longer mounted where the drive says is left
    // alone.
    virtual void flush(const Drive& drive, const std::function<void(const FlushProgress&)>& shown) = 0;
};

}  // namespace kestrix

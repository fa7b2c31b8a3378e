#pragma once

#include <filesystem>

#include "KestrixKit/Ejection/FileSystemFlushing.h"

namespace kestrix {

// Writes out a drive's file systems with syncfs, which any user may call on a file system they
// can open, while it reads how far the kernel has got from /proc/meminfo and the devices' stat
// files in sysfs, every half second.
class PageCacheFlusher : public FileSystemFlushing {
public:
    explicit PageCacheFlusher(std::filesystem::path procRoot = "/proc", std::filesystem::path sysfsRoot = "/sys")
        : procRoot_(std::move(procRoot)), sysfsRoot_(std::move(sysfsRoot)) {}

    void flush(const Drive& drive, const std::function<void(const FlushProgress&)>& shown) override;

private:
    std::filesystem::path procRoot_;
    std::filesystem::path sysfsRoot_;
};

}  // namespace kestrix

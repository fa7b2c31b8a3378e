#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrix {

// The kernel's handle of a watched file (what name_to_handle_at gives), with which root can
// open it again without knowing its path.
struct WatchedFileHandle {
    int type = 0;
    std::vector<unsigned char> bytes;

    bool operator==(const WatchedFileHandle&) const = default;
};

// One inotify watch of a process, as /proc/PID/fdinfo/N shows it.
struct InotifyWatch {
    std::uint64_t inode = 0;
    // The file system's device number in st_dev encoding, as VnodeRef keeps it.
    std::uint32_t device = 0;
    std::uint32_t mask = 0;
    std::optional<WatchedFileHandle> handle;

    bool operator==(const InotifyWatch&) const = default;
};

// The watches an inotify descriptor's fdinfo lists, one "inotify wd:… ino:… sdev:… mask:…" line
// each; lines that are not whole watches are skipped.
std::vector<InotifyWatch> parseInotifyWatches(std::string_view fdinfo);

// The kernel's own device number (major << 20 | minor, as fdinfo's sdev shows it) in st_dev
// encoding: (minor & 0xff) | (major << 8) | ((minor & ~0xff) << 12).
std::uint32_t deviceFromKernelDevice(std::uint32_t kernelDevice);

}  // namespace kestrix

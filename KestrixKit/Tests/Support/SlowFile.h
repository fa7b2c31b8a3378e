#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::test {

// A file served through a small FUSE file system whose writes are held back to the given pace,
// as a cheap stick's are: a loop device on it makes a slow drive. The server is stopped by pid
// when it goes; detach what uses the file first. Needs root, fuse3 and python3-fusepy.
class SlowFile {
public:
    SlowFile(const std::filesystem::path& backing, std::uint64_t bytesPerSecond);
    SlowFile(const SlowFile&) = delete;
    SlowFile& operator=(const SlowFile&) = delete;
    ~SlowFile();

    // Why the file could not be served; nothing when it is.
    const std::optional<std::string>& skipReason() const { return skipReason_; }
    // The served file: what it reads and writes is the backing file's.
    std::filesystem::path path() const { return mountFolder_ / "disk.img"; }

private:
    std::optional<std::string> skipReason_;
    std::filesystem::path mountFolder_;
    std::filesystem::path script_;
    std::unique_ptr<ChildProcess> server_;
};

}  // namespace kestrix::test

#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Tests/Support/SlowFile.h"

namespace kestrix::test {

struct LoopImageOptions {
    int sizeMiB = 16;
    // A slow stick: every write reaches the image at this pace.
    std::optional<std::uint64_t> writeBytesPerSecond;
};

// An ext4 image (16 MB unless asked otherwise) with a label of its own on a loop device, not mounted: the disk service
// mounts it for whoever asks, as a desktop mounts a plugged-in stick. Whatever is mounted from it
// is unmounted, and the device detached, when it goes. Needs root.
class LoopImage {
public:
    // The label is the prefix (at most 10 characters) and random digits.
    explicit LoopImage(const std::string& labelPrefix, const LoopImageOptions& options = {});
    LoopImage(const LoopImage&) = delete;
    LoopImage& operator=(const LoopImage&) = delete;
    ~LoopImage();

    // Why the image could not be made; nothing when its loop device is there.
    const std::optional<std::string>& skipReason() const { return skipReason_; }
    const std::string& label() const { return label_; }
    // "/dev/loopN".
    const std::string& device() const { return device_; }
    // Mounts it as root with the kernel's call, outside the disk service, in a folder under /media
    // that every user can reach, as a system mounts a drive for all; where it went.
    std::optional<std::string> mountAsRoot();
    // Where it is mounted; nothing when it is not.
    std::optional<std::string> mountPoint() const;
    // Whether a loop device still holds the image.
    bool isAttached() const;

private:
    std::optional<std::string> skipReason_;
    std::string label_;
    std::filesystem::path folder_;
    // Serves the image where it is slow; goes after the device that uses it.
    std::unique_ptr<SlowFile> slowFile_;
    std::string device_;
    // The file behind the loop device: the device's name may pass to another drive once ours is gone.
    std::string backing_;
    std::filesystem::path rootMountFolder_;
};

}  // namespace kestrix::test

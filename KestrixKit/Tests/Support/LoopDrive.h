#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrix::test {

struct LoopDriveOptions {
    // The drive is mounted at /media/<folderPrefix>-N/<labelPrefix>N, as a desktop mounts a disk
    // image; N is random, so that parallel runs do not meet. The label prefix is cut to 10
    // characters, as the label holds 16.
    std::string folderPrefix = "kestrix-test";
    std::string labelPrefix = "Kestrix";
    // true: `mount -o loop`, whose loop device goes away with the unmount; false: a loop device
    // of its own that stays until someone detaches it.
    bool detachesOnUnmount = true;
};

// A 16 MB ext4 image on a loop device, mounted under /media. Everything is undone when it goes,
// also when a test fails halfway. Needs root.
class LoopDrive {
public:
    explicit LoopDrive(const LoopDriveOptions& options = {});
    LoopDrive(const LoopDrive&) = delete;
    LoopDrive& operator=(const LoopDrive&) = delete;
    ~LoopDrive();

    // Why this machine could not make the drive; nothing when it is mounted.
    const std::optional<std::string>& skipReason() const { return skipReason_; }
    // The volume label, also the name of the folder it is mounted on.
    const std::string& name() const { return name_; }
    const std::string& mountPath() const { return mountPath_; }
    // "/dev/loopN".
    const std::string& loopDevice() const { return loopDevice_; }
    bool isMounted() const;
    // Whether a loop device still holds the image.
    bool isAttached() const;

private:
    std::optional<std::string> skipReason_;
    std::string name_;
    std::filesystem::path image_;
    std::filesystem::path folder_;
    std::string mountPath_;
    std::string loopDevice_;
};

// Whether something is mounted at path.
bool isMounted(const std::string& path);

}  // namespace kestrix::test

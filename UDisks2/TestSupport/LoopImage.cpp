#include "UDisks2/TestSupport/LoopImage.h"

#include <unistd.h>

#include <random>

#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace fs = std::filesystem;

namespace kestrix::test {
namespace {

std::string randomDigits(int count) {
    std::random_device source;
    std::string digits;
    for (int index = 0; index < count; ++index) digits += static_cast<char>('0' + source() % 10);
    return digits;
}

}  // namespace

LoopImage::LoopImage(const std::string& labelPrefix, const LoopImageOptions& options) {
    if (geteuid() != 0) {
        skipReason_ = "loop devices need root";
        return;
    }
    std::string folder = (fs::temp_directory_path() / "kestrix-image-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        skipReason_ = "cannot make a folder for a disk image";
        return;
    }
    folder_ = folder;
    label_ = labelPrefix.substr(0, 10) + randomDigits(6);
    std::string image = (folder_ / "drive.img").string();
    if (!runQuietly("truncate -s " + std::to_string(options.sizeMiB) + "M '" + image + "' && mkfs.ext4 -q -L '" + label_ +
                    "' '" + image + "'")) {
        skipReason_ = "mkfs.ext4 could not make an image";
        return;
    }
    if (options.writeBytesPerSecond) {
        slowFile_ = std::make_unique<SlowFile>(image, *options.writeBytesPerSecond);
        if (slowFile_->skipReason()) {
            skipReason_ = slowFile_->skipReason();
            return;
        }
        image = slowFile_->path().string();
    }
    backing_ = image;
    device_ = commandOutput("losetup --find --show '" + image + "' 2>/dev/null");
    if (device_.rfind("/dev/loop", 0) != 0) {
        device_.clear();
        skipReason_ = "no free loop device";
        return;
    }
    // The disk service learns of the device, and of its label, from udev.
    runQuietly("udevadm settle --timeout=30");
}

LoopImage::~LoopImage() {
    if (!device_.empty()) {
        // Only while the device is still this image's: another test may have its name by now.
        for (int mounts = 0; mounts < 8 && isAttached() && mountPoint(); ++mounts) runQuietly("umount -l '" + device_ + "'");
        if (isAttached()) runQuietly("losetup -d '" + device_ + "'");
    }
    slowFile_.reset();
    std::error_code error;
    if (!rootMountFolder_.empty() && !mountPoint()) fs::remove_all(rootMountFolder_, error);
    if (!folder_.empty()) fs::remove_all(folder_, error);
}

std::optional<std::string> LoopImage::mountAsRoot() {
    rootMountFolder_ = "/media/kestrix-root-" + label_;
    const fs::path mountPath = rootMountFolder_ / label_;
    std::error_code error;
    fs::create_directories(mountPath, error);
    if (error || !runQuietly("mount '" + device_ + "' '" + mountPath.string() + "'")) return std::nullopt;
    return mountPoint();
}

std::optional<std::string> LoopImage::mountPoint() const {
    const std::string target = commandOutput("findmnt --noheadings --first-only --output TARGET --source '" + device_ + "'");
    if (target.empty()) return std::nullopt;
    return target;
}

bool LoopImage::isAttached() const {
    return !device_.empty() &&
           commandOutput("losetup --noheadings --output BACK-FILE '" + device_ + "' 2>/dev/null") == backing_;
}

}  // namespace kestrix::test

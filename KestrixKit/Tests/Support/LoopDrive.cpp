#include "KestrixKit/Tests/Support/LoopDrive.h"

#include <unistd.h>

#include <fstream>
#include <random>

#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace fs = std::filesystem;

namespace kestrix::test {

bool isMounted(const std::string& path) {
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        if (line.find(" " + path + " ") != std::string::npos) return true;
    }
    return false;
}

LoopDrive::LoopDrive(const LoopDriveOptions& options) {
    if (geteuid() != 0) {
        skipReason_ = "loop-mounting an image needs root";
        return;
    }
    std::random_device random;
    const std::string suffix = std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(random));
    // An ext4 label holds 16 bytes; a longer one would be cut short and differ from the folder.
    name_ = options.labelPrefix.substr(0, 16 - suffix.size()) + suffix;
    image_ = fs::temp_directory_path() / (options.folderPrefix + "-" + suffix + ".img");
    folder_ = fs::path("/media") / (options.folderPrefix + "-" + suffix);
    mountPath_ = (folder_ / name_).string();
    std::error_code error;
    fs::create_directories(mountPath_, error);
    if (error) {
        skipReason_ = "cannot create " + mountPath_ + ": " + error.message();
        return;
    }
    if (!runQuietly("truncate -s 16M " + image_.string() + " && mkfs.ext4 -q -F -L " + name_ + " " + image_.string())) {
        skipReason_ = "cannot make an ext4 image (mkfs.ext4 missing?)";
        return;
    }
    const std::string source = options.detachesOnUnmount
                                   ? "-o loop " + image_.string()
                                   : commandOutput("losetup -f --show " + image_.string() + " 2>/dev/null");
    if (source.empty() || !runQuietly("mount " + source + " '" + mountPath_ + "'")) {
        skipReason_ = "this machine cannot loop-mount an image (no loop devices or no mount rights)";
        return;
    }
    loopDevice_ = commandOutput("findmnt -no SOURCE '" + mountPath_ + "'");
}

LoopDrive::~LoopDrive() {
    if (mountPath_.empty()) return;
    // Lazily when busy, as with a file system mounted inside.
    if (isMounted() && !runQuietly("umount '" + mountPath_ + "'")) runQuietly("umount -l '" + mountPath_ + "'");
    runQuietly("losetup -j " + image_.string() + " -n -O NAME | xargs -r losetup -d");
    std::error_code error;
    fs::remove(image_, error);
    // Never recursive: should the unmount have failed, the image's files stay untouched.
    fs::remove(mountPath_, error);
    fs::remove(folder_, error);
}

bool LoopDrive::isMounted() const { return test::isMounted(mountPath_); }

bool LoopDrive::isAttached() const { return !commandOutput("losetup -j " + image_.string()).empty(); }

}  // namespace kestrix::test

#include "KestrixKit/Linux/Ejecting/FileSystemRelease.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Files/FirstLine.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;

enum class ExclusiveOpen { released, claimed, notAllowed };

ExclusiveOpen openExclusively(const fs::path& node) {
    // Read-only, so that closing it makes udev probe nothing.
    const filesupport::OwnedDescriptor device(::open(node.c_str(), O_RDONLY | O_EXCL | O_NONBLOCK | O_CLOEXEC));
    if (device.valid()) return ExclusiveOpen::released;
    switch (errno) {
    case EBUSY: return ExclusiveOpen::claimed;
    case EACCES:
    case EPERM: return ExclusiveOpen::notAllowed;
    default: return ExclusiveOpen::released;  // gone, or no medium left in it
    }
}

bool hasEntries(const fs::path& folder) {
    std::error_code error;
    return fs::directory_iterator(folder, error) != fs::directory_iterator();
}

// What sysfs and this process's mount table show of a device that may not be opened.
bool isClaimedToSight(const std::string& kernelName, const fs::path& sysfsRoot, const std::string& mountInfo) {
    const fs::path entry = sysfsRoot / "class" / "block" / kernelName;
    if (hasEntries(entry / "holders")) return true;
    // ext2/3/4 keep a folder per live file system, mounted or detached.
    std::error_code error;
    if (fs::exists(sysfsRoot / "fs" / "ext4" / kernelName, error)) return true;
    const std::string number = readFirstLine(entry / "dev");
    const std::optional<std::vector<MountEntry>> mounts = readMountEntries(mountInfo);
    return mounts && std::any_of(mounts->begin(), mounts->end(),
                                 [&](const MountEntry& mount) { return mount.deviceNumber == number; });
}

}  // namespace

bool isReleased(const Drive& drive, const fs::path& devRoot, const fs::path& sysfsRoot, const std::string& mountInfo) {
    return std::none_of(drive.volumes.begin(), drive.volumes.end(), [&](const DriveVolume& volume) {
        if (!volume.bsdName) return false;  // a network share has no device to keep
        std::error_code error;
        const fs::path node = fs::canonical(devRoot / *volume.bsdName, error);
        if (error) return false;
        switch (openExclusively(node)) {
        case ExclusiveOpen::released: return false;
        case ExclusiveOpen::claimed: return true;
        case ExclusiveOpen::notAllowed: return isClaimedToSight(node.filename().string(), sysfsRoot, mountInfo);
        }
        return false;
    });
}

}  // namespace kestrix

#include "KestrixKit/Linux/Backups/MountPointsByUUID.h"

#include <blkid/blkid.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "KestrixKit/Backups/TimeshiftSettings.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"

namespace kestrix {

std::vector<std::string> mountPointsOfUUID(const std::string& uuid, const std::string& mountInfoPath) {
    if (!TimeshiftSettings::isFileSystemUUID(uuid)) return {};
    const std::unique_ptr<char, decltype(&std::free)> device(blkid_evaluate_tag("UUID", uuid.c_str(), nullptr),
                                                              &std::free);
    struct stat facts {};
    if (!device || ::stat(device.get(), &facts) != 0 || !S_ISBLK(facts.st_mode)) return {};
    const std::uint32_t number = kernelDeviceNumber(facts.st_rdev);
    std::vector<std::string> mountPoints;
    for (const MountEntry& mount : readMountEntries(mountInfoPath).value_or(std::vector<MountEntry>{})) {
        if (mount.device == number) mountPoints.push_back(mount.mountPoint);
    }
    return mountPoints;
}

}  // namespace kestrix

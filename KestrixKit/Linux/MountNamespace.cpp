#include "KestrixKit/Linux/MountNamespace.h"

#include <libmount/libmount.h>

#include "KestrixKit/Linux/MountInfoTable.h"
#include "KestrixKit/Linux/MountPointStatus.h"

namespace kestrix {

std::optional<std::vector<MountedFileSystem>> readMountedFileSystems(const std::string& mountInfoPath) {
    std::vector<MountedFileSystem> mounts;
    const bool readable = forEachMount(mountInfoPath, [&](libmnt_fs* fs) {
        const char* target = mnt_fs_get_target(fs);
        const int id = mnt_fs_get_id(fs);
        if (!target || id < 0) return;
        mounts.push_back(MountedFileSystem{.id = static_cast<std::uint64_t>(id), .target = target,
                                           .device = kernelDeviceNumber(mnt_fs_get_devno(fs))});
    });
    if (!readable) return std::nullopt;
    return mounts;
}

}  // namespace kestrix

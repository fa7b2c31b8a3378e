#include "KestrixKit/Linux/Mounts/MountEntries.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <algorithm>

#include "KestrixKit/Linux/Mounts/MountInfoTable.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"

namespace kestrix {

std::optional<std::vector<MountEntry>> readMountEntries(const std::string& mountInfoPath) {
    std::vector<MountEntry> entries;
    const bool readable = forEachMount(mountInfoPath, [&](libmnt_fs* fs) {
        const char* target = mnt_fs_get_target(fs);
        const int id = mnt_fs_get_id(fs);
        if (!target || id < 0) return;
        const char* source = mnt_fs_get_source(fs);
        const char* type = mnt_fs_get_fstype(fs);
        const dev_t device = mnt_fs_get_devno(fs);
        // Either the mount itself or its whole file system may be read-only.
        char* readOnly = nullptr;
        std::size_t readOnlySize = 0;
        entries.push_back(MountEntry{.id = static_cast<std::uint64_t>(id),
                                     .parentId = static_cast<std::uint64_t>(std::max(mnt_fs_get_parent_id(fs), 0)),
                                     .mountPoint = target,
                                     .source = source ? source : "",
                                     .deviceNumber = std::to_string(major(device)) + ":" + std::to_string(minor(device)),
                                     .device = kernelDeviceNumber(device),
                                     .fileSystem = type ? type : "",
                                     .isReadOnly = mnt_fs_get_option(fs, "ro", &readOnly, &readOnlySize) == 0});
    });
    if (!readable) return std::nullopt;
    return entries;
}

}  // namespace kestrix

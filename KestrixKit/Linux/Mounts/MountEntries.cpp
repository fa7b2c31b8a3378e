#include "KestrixKit/Linux/MountEntries.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include "KestrixKit/Linux/MountInfoTable.h"

namespace kestrix {
namespace {

std::string textOf(const char* text) { return text ? text : ""; }

}  // namespace

std::optional<std::vector<MountEntry>> readMountEntries(const std::string& mountInfoPath) {
    std::vector<MountEntry> entries;
    const bool readable = forEachMount(mountInfoPath, [&](libmnt_fs* fs) {
        const dev_t device = mnt_fs_get_devno(fs);
        entries.push_back(MountEntry{.mountPoint = textOf(mnt_fs_get_target(fs)),
                                     .source = textOf(mnt_fs_get_source(fs)),
                                     .deviceNumber = std::to_string(major(device)) + ":" + std::to_string(minor(device))});
    });
    if (!readable) return std::nullopt;
    return entries;
}

}  // namespace kestrix

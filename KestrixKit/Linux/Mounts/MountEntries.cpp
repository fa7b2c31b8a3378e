#include "KestrixKit/Linux/Mounts/MountEntries.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <charconv>
#include <string_view>

#include "KestrixKit/Linux/Mounts/MountInfoTable.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"

namespace kestrix {
namespace {

// The number after "tag:" among mountinfo's optional fields ("shared:1 master:2").
std::optional<std::uint64_t> propagationGroup(const char* fields, std::string_view tag) {
    if (fields == nullptr) return std::nullopt;
    const std::string_view all(fields);
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = std::min(all.find(' ', start), all.size());
        const std::string_view field = all.substr(start, end - start);
        if (field.size() > tag.size() && field.starts_with(tag) && field[tag.size()] == ':') {
            std::uint64_t group = 0;
            const char* first = field.data() + tag.size() + 1;
            const auto [stop, error] = std::from_chars(first, field.data() + field.size(), group);
            if (error == std::errc{} && stop == field.data() + field.size()) return group;
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

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
                                     .isReadOnly = mnt_fs_get_option(fs, "ro", &readOnly, &readOnlySize) == 0,
                                     .sharedGroup = propagationGroup(mnt_fs_get_optional_fields(fs), "shared"),
                                     .masterGroup = propagationGroup(mnt_fs_get_optional_fields(fs), "master")});
    });
    if (!readable) return std::nullopt;
    return entries;
}

}  // namespace kestrix

#include "KestrixKit/Linux/MountNamespace.h"

#include <memory>

#include <libmount/libmount.h>

#include "KestrixKit/Linux/MountPointStatus.h"

namespace kestrix {
namespace {

using TablePointer = std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)>;
using IteratorPointer = std::unique_ptr<libmnt_iter, decltype(&mnt_free_iter)>;

int skipMalformedLine(libmnt_table*, const char*, int) { return 1; }

}  // namespace

std::optional<std::vector<MountedFileSystem>> readMountedFileSystems(const std::string& mountInfoPath) {
    TablePointer table(mnt_new_table(), &mnt_unref_table);
    const IteratorPointer iterator(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
    if (!table || !iterator) return std::nullopt;
    mnt_table_set_parser_errcb(table.get(), skipMalformedLine);
    if (mnt_table_parse_file(table.get(), mountInfoPath.c_str()) != 0) return std::nullopt;
    std::vector<MountedFileSystem> mounts;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iterator.get(), &fs) == 0) {
        const char* target = mnt_fs_get_target(fs);
        const int id = mnt_fs_get_id(fs);
        if (!target || id < 0) continue;
        mounts.push_back(MountedFileSystem{.id = static_cast<std::uint64_t>(id), .target = target,
                                           .device = kernelDeviceNumber(mnt_fs_get_devno(fs))});
    }
    return mounts;
}

}  // namespace kestrix

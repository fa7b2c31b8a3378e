#include "KestrixKit/Linux/MountEntries.h"

#include <memory>

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

namespace kestrix {
namespace {

using TablePointer = std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)>;
using IteratorPointer = std::unique_ptr<libmnt_iter, decltype(&mnt_free_iter)>;

int skipMalformedLine(libmnt_table*, const char*, int) { return 1; }

std::string textOf(const char* text) { return text ? text : ""; }

}  // namespace

std::optional<std::vector<MountEntry>> readMountEntries(const std::string& mountInfoPath) {
    TablePointer table(mnt_new_table(), &mnt_unref_table);
    const IteratorPointer iterator(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
    if (!table || !iterator) return std::nullopt;
    mnt_table_set_parser_errcb(table.get(), skipMalformedLine);
    if (mnt_table_parse_file(table.get(), mountInfoPath.c_str()) != 0) return std::nullopt;
    std::vector<MountEntry> entries;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iterator.get(), &fs) == 0) {
        const dev_t device = mnt_fs_get_devno(fs);
        entries.push_back(MountEntry{.mountPoint = textOf(mnt_fs_get_target(fs)),
                                     .source = textOf(mnt_fs_get_source(fs)),
                                     .deviceNumber = std::to_string(major(device)) + ":" + std::to_string(minor(device))});
    }
    return entries;
}

}  // namespace kestrix

#include "KestrixKit/Linux/Mounts/MountInfoTable.h"

#include <memory>

#include <libmount/libmount.h>

namespace kestrix {
namespace {

using TablePointer = std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)>;
using IteratorPointer = std::unique_ptr<libmnt_iter, decltype(&mnt_free_iter)>;

int skipMalformedLine(libmnt_table*, const char*, int) { return 1; }

}  // namespace

bool forEachMount(const std::string& mountInfoPath, const std::function<void(libmnt_fs*)>& visit) {
    const TablePointer table(mnt_new_table(), &mnt_unref_table);
    const IteratorPointer iterator(mnt_new_iter(MNT_ITER_FORWARD), &mnt_free_iter);
    if (!table || !iterator) return false;
    mnt_table_set_parser_errcb(table.get(), skipMalformedLine);
    if (mnt_table_parse_file(table.get(), mountInfoPath.c_str()) != 0) return false;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iterator.get(), &fs) == 0) visit(fs);
    return true;
}

}  // namespace kestrix

#include "KestrixKit/Linux/BlockDevices/FileSystemProbe.h"

#include <blkid/blkid.h>

#include <memory>

namespace kestrix {
namespace {

using ProbePointer = std::unique_ptr<blkid_struct_probe, decltype(&blkid_free_probe)>;

std::optional<std::string> value(blkid_probe probe, const char* name) {
    const char* data = nullptr;
    std::size_t length = 0;
    if (blkid_probe_lookup_value(probe, name, &data, &length) != 0 || data == nullptr) return std::nullopt;
    // The length counts the terminating zero.
    std::string text(data, length > 0 ? length - 1 : 0);
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace

std::optional<ProbedFileSystem> probeFileSystem(const std::filesystem::path& deviceNode) {
    const ProbePointer probe(blkid_new_probe_from_filename(deviceNode.c_str()), &blkid_free_probe);
    if (!probe) return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_TYPE | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
    blkid_probe_enable_partitions(probe.get(), 0);
    // Safe probing refuses a device that carries signatures of two file systems.
    if (blkid_do_safeprobe(probe.get()) != 0) return std::nullopt;
    std::optional<std::string> type = value(probe.get(), "TYPE");
    if (!type) return std::nullopt;
    return ProbedFileSystem{
        .type = std::move(*type), .label = value(probe.get(), "LABEL"), .uuid = value(probe.get(), "UUID")};
}

}  // namespace kestrix

#include "KestrixKit/Linux/BlockDevices/BlockDevices.h"
#include "KestrixKit/Linux/Files/FirstLine.h"

#include <system_error>

namespace kestrix {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> entriesOf(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        entries.push_back(entry->path());
    }
    return entries;
}

}  // namespace

std::vector<BlockDevice> readBlockDevices(const fs::path& sysfsRoot) {
    std::vector<BlockDevice> devices;
    for (const fs::path& entry : entriesOf(sysfsRoot / "class" / "block")) {
        BlockDevice device{.name = entry.filename().string(), .deviceNumber = readFirstLine(entry / "dev"),
                           .partitions = {}, .slaves = {}};
        std::error_code error;
        for (const fs::path& child : entriesOf(entry)) {
            if (fs::exists(child / "partition", error)) device.partitions.push_back(child.filename().string());
        }
        for (const fs::path& slave : entriesOf(entry / "slaves")) device.slaves.push_back(slave.filename().string());
        devices.push_back(std::move(device));
    }
    return devices;
}

}  // namespace kestrix

#include "KestrixKit/Linux/BlockDevices/DiskStacking.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace kestrix::DiskStacking {
namespace {

constexpr int maximumStackDepth = 12;

bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::filesystem::path classEntry(const std::filesystem::path& sysfsRoot, const std::string& kernelName) {
    return sysfsRoot / "class" / "block" / kernelName;
}

std::vector<std::string> slavesOf(const std::filesystem::path& sysfsRoot, const std::string& kernelName) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(classEntry(sysfsRoot, kernelName) / "slaves", error), end;
         !error && entry != end; entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    // Directory order is arbitrary; sorting keeps the choice among several members stable.
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::optional<std::string> wholeDisk(const std::filesystem::path& sysfsRoot, const std::string& kernelName) {
    if (!isPlainName(kernelName)) return std::nullopt;
    const std::filesystem::path entry = classEntry(sysfsRoot, kernelName);
    std::error_code error;
    if (!std::filesystem::exists(entry, error)) return std::nullopt;
    if (!std::filesystem::exists(entry / "partition", error)) return kernelName;
    // A partition's device folder lies inside its disk's.
    const std::filesystem::path device = std::filesystem::canonical(entry, error);
    if (error) return std::nullopt;
    const std::string disk = device.parent_path().filename().string();
    if (!isPlainName(disk)) return std::nullopt;
    return disk;
}

std::optional<std::string> physicalDisk(const std::filesystem::path& sysfsRoot, const std::string& wholeDiskName) {
    std::string current = wholeDiskName;
    for (int step = 0; step < maximumStackDepth; ++step) {
        const std::vector<std::string> slaves = slavesOf(sysfsRoot, current);
        if (slaves.empty()) return step == 0 ? std::nullopt : std::optional<std::string>(current);
        const std::optional<std::string> next = wholeDisk(sysfsRoot, slaves.front());
        if (!next) return std::nullopt;
        current = *next;
    }
    return std::nullopt;
}

}  // namespace kestrix::DiskStacking

#include "KestrixKit/Linux/Kernel/StackedDevices.h"
#include "KestrixKit/Linux/Files/FirstLine.h"

#include <algorithm>
#include <system_error>

namespace kestrix {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<StackedDevice> stackedDevices(const fs::path& sysfsRoot, const std::string& wholeDisk,
                                          const std::set<std::string>& ownDevices) {
    std::vector<StackedDevice> found;
    if (wholeDisk.empty() || wholeDisk.find('/') != std::string::npos || wholeDisk.starts_with('.')) return found;
    std::error_code error;
    const fs::path disk = fs::canonical(sysfsRoot / "class" / "block" / wholeDisk, error);
    if (error) return found;
    // The disk's own holders, then each partition's: a partition is a subfolder with a "partition" file.
    std::vector<fs::path> members{disk};
    for (const std::string& name : entriesOf(disk)) {
        if (fs::exists(disk / name / "partition", error)) members.push_back(disk / name);
    }
    for (const fs::path& member : members) {
        for (const std::string& holder : entriesOf(member / "holders")) {
            if (ownDevices.contains(holder)) continue;
            const fs::path entry = sysfsRoot / "class" / "block" / holder;
            // An encrypted partition's opened mapping is the drive's own, locked with its eject.
            if (readFirstLine(entry / "dm" / "uuid").starts_with("CRYPT-")) continue;
            const std::string mapped = readFirstLine(entry / "dm" / "name");
            StackedDevice device{.kernelName = holder, .name = mapped.empty() ? holder : mapped};
            if (std::find(found.begin(), found.end(), device) == found.end()) found.push_back(std::move(device));
        }
    }
    return found;
}

}  // namespace kestrix

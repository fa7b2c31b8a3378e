#include "KestrixKit/Linux/Kernel/NamespaceMounts.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"

namespace kestrix {
namespace {

bool isProcessFolder(const char* name) {
    std::int32_t pid = 0;
    const char* end = name + std::char_traits<char>::length(name);
    const auto [stop, error] = std::from_chars(name, end, pid);
    return error == std::errc{} && stop == end && pid > 0;
}

}  // namespace

bool followsUnmountsOf(const MountEntry& other, const std::vector<MountEntry>& ours) {
    return std::any_of(ours.begin(), ours.end(), [&](const MountEntry& own) {
        if (own.device != other.device || !own.sharedGroup) return false;
        return other.masterGroup == own.sharedGroup || other.sharedGroup == own.sharedGroup;
    });
}

std::vector<NamespaceMount> otherNamespaceMounts(const std::string& procRoot, const std::set<std::uint32_t>& devices) {
    std::vector<NamespaceMount> found;
    const filesupport::OwnedDescriptor procFolder(open(procRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const procfs::Directory listing = procfs::openDirectory(AT_FDCWD, procRoot.c_str());
    const std::optional<std::string> own = procfs::readLink(AT_FDCWD, (procRoot + "/self/ns/mnt").c_str());
    if (!procFolder.valid() || !listing || !own || devices.empty()) return found;
    // /proc lists processes by rising pid, so the first one met in a namespace is its lowest.
    std::unordered_set<std::string> seen{*own};
    std::string link;
    while (const dirent* entry = readdir(listing.get())) {
        if (!isProcessFolder(entry->d_name)) continue;
        link.assign(entry->d_name).append("/ns/mnt");
        std::optional<std::string> space = procfs::readLink(procFolder.get(), link.c_str());
        if (!space || !seen.insert(std::move(*space)).second) continue;
        const std::optional<std::vector<MountEntry>> mounts =
            readMountEntries(procRoot + "/" + entry->d_name + "/mountinfo");
        if (!mounts) continue;
        const std::int32_t pid = std::stoi(entry->d_name);
        for (const MountEntry& mount : *mounts) {
            if (devices.contains(mount.device)) found.push_back({.pid = pid, .mount = mount});
        }
    }
    return found;
}

}  // namespace kestrix

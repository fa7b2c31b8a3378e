#include "KestrixKit/Linux/Kernel/NamespaceMounts.h"

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

namespace kestrix {
namespace {

bool isRefusal(int error) { return error == EACCES || error == EPERM; }

}  // namespace

bool followsUnmountsOf(const MountEntry& other, const std::vector<MountEntry>& ours) {
    return std::any_of(ours.begin(), ours.end(), [&](const MountEntry& own) {
        if (own.device != other.device || !own.sharedGroup) return false;
        return other.masterGroup == own.sharedGroup || other.sharedGroup == own.sharedGroup;
    });
}

MountNamespaces readMountNamespaces(const std::string& procRoot) {
    MountNamespaces namespaces;
    const filesupport::OwnedDescriptor procFolder(open(procRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    const procfs::Directory listing = procfs::openDirectory(AT_FDCWD, procRoot.c_str());
    if (!procFolder.valid() || !listing) return namespaces;
    std::string link;
    while (const dirent* entry = readdir(listing.get())) {
        const std::optional<std::int32_t> pid = procfs::processIDOfEntry(entry->d_name);
        if (!pid) continue;
        link.assign(entry->d_name).append("/ns/mnt");
        const std::optional<std::string> target = procfs::readLink(procFolder.get(), link.c_str());
        if (!target) {
            if (isRefusal(errno)) ++namespaces.closed;
            continue;
        }
        const std::optional<std::uint64_t> space = procfs::parseNamespaceLink(*target, "mnt");
        if (!space) continue;
        const auto [known, isNew] = namespaces.lowestPIDs.try_emplace(*space, *pid);
        if (!isNew) known->second = std::min(known->second, *pid);
    }
    return namespaces;
}

NamespaceMountsFound otherNamespaceMounts(const std::string& procRoot, const MountNamespaces& namespaces,
                                          const std::set<std::uint32_t>& devices) {
    NamespaceMountsFound found{.mounts = {}, .hidden = namespaces.closed};
    const std::optional<std::string> ownLink =
        devices.empty() ? std::nullopt : procfs::readLink(AT_FDCWD, (procRoot + "/self/ns/mnt").c_str());
    const std::optional<std::uint64_t> own = ownLink ? procfs::parseNamespaceLink(*ownLink, "mnt") : std::nullopt;
    if (!own) return found;
    const filesupport::OwnedDescriptor procFolder(open(procRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!procFolder.valid()) return found;
    for (const auto& [space, pid] : namespaces.lowestPIDs) {
        if (space == *own) continue;
        const std::string info = std::to_string(pid) + "/mountinfo";
        // Opened first to tell a namespace closed to us from a process that has ended.
        const filesupport::OwnedDescriptor probe(openat(procFolder.get(), info.c_str(), O_RDONLY | O_CLOEXEC));
        if (!probe.valid()) {
            if (isRefusal(errno)) ++found.hidden;
            continue;
        }
        const std::optional<std::vector<MountEntry>> mounts = readMountEntries(procRoot + "/" + info);
        if (!mounts) continue;
        for (const MountEntry& mount : *mounts) {
            if (devices.contains(mount.device)) found.mounts.push_back({.pid = pid, .mount = mount});
        }
    }
    return found;
}

}  // namespace kestrix

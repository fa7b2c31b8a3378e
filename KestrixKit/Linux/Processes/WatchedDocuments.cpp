#include "KestrixKit/Linux/Processes/WatchedDocuments.h"

#include <algorithm>
#include <deque>
#include <set>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Text/ValidUTF8.h"

namespace kestrix {
namespace {

// A document is looked for in this many folders of the drive at most, so that a scan stays
// quick on a drive with a large tree; a document deeper than that goes unnamed.
constexpr std::size_t mostFoldersSearched = 2000;

// Entries created or deleted: events only a folder has, so a watch asking for them is a folder's
// (a file manager showing it) and no document's.
bool watchesAFolder(const InotifyWatch& watch) { return (watch.mask & (IN_CREATE | IN_DELETE)) != 0; }

std::optional<std::uint32_t> deviceOf(int descriptor) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return std::nullopt;
    return kernelDeviceNumber(status.st_dev);
}

std::optional<std::uint32_t> anonymousInodeDevice() {
    const filesupport::OwnedDescriptor probe(inotify_init1(IN_CLOEXEC));
    if (!probe.valid()) return std::nullopt;
    return deviceOf(probe.get());
}

std::string joined(const std::string& folder, const char* name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

}  // namespace

WatchedDocuments::WatchedDocuments(DriveScope drive) : drive_(std::move(drive)), anonymousInodes_(anonymousInodeDevice()) {}

bool WatchedDocuments::isInotify(int descriptorFolder, const char* number, const FileFacts& facts) const {
    if (!anonymousInodes_ || facts.device != *anonymousInodes_) return false;
    return procfs::readLink(descriptorFolder, number) == "anon_inode:inotify";
}

std::vector<VnodeRef> WatchedDocuments::documents(int processFolder,
                                                  const std::vector<std::string>& inotifyDescriptors) const {
    if (inotifyDescriptors.empty()) return {};
    const filesupport::OwnedDescriptor infoFolder(openat(processFolder, "fdinfo", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!infoFolder.valid()) return {};
    std::vector<VnodeRef> found;
    // Per device, the watched inodes no handle could name.
    std::vector<std::pair<std::uint32_t, std::vector<std::uint64_t>>> unnamed;
    for (const std::string& descriptor : inotifyDescriptors) {
        const std::optional<std::string> info = procfs::readText(infoFolder.get(), descriptor.c_str());
        if (!info) continue;
        for (const InotifyWatch& watch : parseInotifyWatches(*info)) {
            if (!drive_.containsDevice(watch.device) || watchesAFolder(watch)) continue;
            if (const std::optional<std::string> path = pathByHandle(watch)) {
                found.push_back({.path = *path, .device = watch.device});
                continue;
            }
            auto device = std::find_if(unnamed.begin(), unnamed.end(), [&](const auto& entry) { return entry.first == watch.device; });
            if (device == unnamed.end()) device = unnamed.insert(unnamed.end(), {watch.device, {}});
            device->second.push_back(watch.inode);
        }
    }
    for (const auto& [device, inodes] : unnamed) {
        for (VnodeRef& document : findInFolders(device, inodes)) found.push_back(std::move(document));
    }
    std::sort(found.begin(), found.end(), [](const VnodeRef& a, const VnodeRef& b) { return a.path < b.path; });
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::optional<std::string> WatchedDocuments::pathByHandle(const InotifyWatch& watch) const {
    if (!watch.handle || watch.handle->bytes.empty()) return std::nullopt;
    std::vector<unsigned char> storage(sizeof(file_handle) + watch.handle->bytes.size());
    auto* handle = reinterpret_cast<file_handle*>(storage.data());
    handle->handle_bytes = static_cast<unsigned>(watch.handle->bytes.size());
    handle->handle_type = watch.handle->type;
    std::copy(watch.handle->bytes.begin(), watch.handle->bytes.end(), storage.begin() + sizeof(file_handle));
    for (const std::string& mountPath : drive_.mountPaths) {
        const filesupport::OwnedDescriptor mount(open(mountPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!mount.valid() || deviceOf(mount.get()) != watch.device) continue;
        // Needs the right to read any folder: root's.
        const filesupport::OwnedDescriptor file(open_by_handle_at(mount.get(), handle, O_PATH | O_CLOEXEC));
        if (!file.valid()) return std::nullopt;
        struct stat status {};
        if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
        const std::string link = "/proc/self/fd/" + std::to_string(file.get());
        std::optional<std::string> path = procfs::readLink(AT_FDCWD, link.c_str());
        // A deleted document shows " (deleted)" and no longer lies in the drive's folders.
        if (!path || !path->starts_with('/') || path->ends_with(" (deleted)")) return std::nullopt;
        return text::validUTF8(std::move(*path));
    }
    return std::nullopt;
}

std::vector<VnodeRef> WatchedDocuments::findInFolders(std::uint32_t device, const std::vector<std::uint64_t>& inodes) const {
    std::set<std::uint64_t> wanted(inodes.begin(), inodes.end());
    std::vector<VnodeRef> found;
    std::deque<std::string> folders;
    for (const std::string& mountPath : drive_.mountPaths) folders.push_back(mountPath);
    std::size_t searched = 0;
    while (!folders.empty() && !wanted.empty() && searched < mostFoldersSearched) {
        const std::string folder = std::move(folders.front());
        folders.pop_front();
        const procfs::Directory list = procfs::openDirectory(AT_FDCWD, folder.c_str());
        // Only the drive's own file system: a folder mounted inside it is another's.
        if (!list || deviceOf(dirfd(list.get())) != device) continue;
        ++searched;
        while (const dirent* entry = readdir(list.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat status {};
                if (fstatat(dirfd(list.get()), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
                type = S_ISDIR(status.st_mode) ? DT_DIR : S_ISREG(status.st_mode) ? DT_REG : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                folders.push_back(joined(folder, entry->d_name));
            } else if (type == DT_REG && wanted.erase(entry->d_ino) > 0) {
                found.push_back({.path = text::validUTF8(joined(folder, entry->d_name)), .device = device});
            }
        }
    }
    return found;
}

}  // namespace kestrix

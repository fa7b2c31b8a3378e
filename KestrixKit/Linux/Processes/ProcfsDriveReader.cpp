#include "KestrixKit/Linux/Processes/ProcfsDriveReader.h"

#include <cerrno>
#include <charconv>

#include <fcntl.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"
#include "KestrixKit/Text/ValidUTF8.h"

namespace kestrix {

ProcfsDriveReader::ProcfsDriveReader(int procFolder, DriveScope drive, const std::vector<MountEntry>& mounts)
    : procFolder_(procFolder), drive_(std::move(drive)), placement_(drive_, mounts), watched_(drive_) {}

std::optional<DriveReferences> ProcfsDriveReader::read(std::int32_t pid, bool deep, bool mountNamespace) const {
    if (pid <= 0) return std::nullopt;
    char name[16] = {};
    std::to_chars(name, name + sizeof name - 1, pid);
    const filesupport::OwnedDescriptor process(openat(procFolder_, name, O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!process.valid()) return std::nullopt;
    std::vector<std::string> inotify;
    std::optional<std::vector<VnodeRef>> files = openFiles(process.get(), inotify);
    if (!files) return std::nullopt;
    DriveReferences references{.openFiles = std::move(*files), .currentFolder = onDrive(process.get(), "cwd")};
    references.watchedFiles = watched_.documents(process.get(), inotify);
    if (std::optional<VnodeRef> executable = onDrive(process.get(), "exe")) {
        references.executablePath = procfs::withoutDeletedMark(std::move(executable->path));
    }
    if (deep) references.mappedFiles = mappedFiles(process.get());
    if (mountNamespace) {
        // The link's text rather than a stat through it: half the cost, in a pass over thousands.
        if (const std::optional<std::string> link = procfs::readLink(process.get(), "ns/mnt")) {
            references.mountNamespace = procfs::parseNamespaceLink(*link, "mnt");
        } else {
            // A process that ended meanwhile tells nothing; one the system keeps to itself is hidden.
            references.mountNamespaceClosed = errno == EACCES || errno == EPERM;
        }
    }
    return references;
}

std::optional<VnodeRef> ProcfsDriveReader::onDrive(int folder, const char* link) const {
    const std::optional<FileFacts> facts = procfs::fileFacts(folder, link);
    if (!facts) return std::nullopt;
    return onDrive(folder, link, *facts);
}

std::optional<VnodeRef> ProcfsDriveReader::onDrive(int folder, const char* link, const FileFacts& facts) const {
    const Placement placement = placement_.place(facts);
    if (placement == Placement::offDrive) return std::nullopt;
    std::optional<std::string> path = procfs::readLink(folder, link);
    // Pipes, sockets and anonymous inodes show as "pipe:[…]", "socket:[…]", "anon_inode:…".
    if (!path || !path->starts_with('/')) return std::nullopt;
    if (placement == Placement::onDriveIfUnderItsPaths && !drive_.containsPath(*path)) return std::nullopt;
    return VnodeRef{.path = text::validUTF8(std::move(*path)), .device = facts.device};
}

std::optional<std::vector<VnodeRef>> ProcfsDriveReader::openFiles(int processFolder,
                                                                  std::vector<std::string>& inotify) const {
    return procfs::openDescriptors(processFolder, [&](int descriptorFolder, const char* number) -> std::optional<VnodeRef> {
        const std::optional<FileFacts> facts = procfs::fileFacts(descriptorFolder, number);
        if (!facts) return std::nullopt;
        if (watched_.isInotify(descriptorFolder, number, *facts)) inotify.emplace_back(number);
        return onDrive(descriptorFolder, number, *facts);
    });
}

std::vector<VnodeRef> ProcfsDriveReader::mappedFiles(int processFolder) const {
    const std::optional<std::string> maps = procfs::readText(processFolder, "maps");
    if (!maps) return {};
    std::vector<VnodeRef> files = procfs::parseMaps(*maps);
    std::erase_if(files, [&](const VnodeRef& file) {
        // Mappings name the device but not the mount.
        const Placement placement = placement_.place({.device = file.device});
        return placement == Placement::offDrive ||
               (placement == Placement::onDriveIfUnderItsPaths && !drive_.containsPath(file.path));
    });
    return files;
}

}  // namespace kestrix

#include "KestrixKit/Linux/Processes/ProcfsFiles.h"

#include <array>
#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

namespace kestrix::procfs {

Directory openDirectory(int parent, const char* path) {
    const int descriptor = openat(parent, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    DIR* directory = fdopendir(descriptor);
    if (!directory) close(descriptor);
    return Directory(directory);
}

std::optional<std::string> readText(int parent, const char* path) {
    const filesupport::OwnedDescriptor file(openat(parent, path, O_RDONLY | O_CLOEXEC));
    if (!file.valid()) return std::nullopt;
    std::string text;
    std::array<char, 8192> buffer{};
    for (;;) {
        const ssize_t count = read(file.get(), buffer.data(), buffer.size());
        if (count < 0) return std::nullopt;
        if (count == 0) return text;
        text.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

std::optional<std::string> readLink(int parent, const char* path) {
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length = readlinkat(parent, path, buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::optional<FileFacts> fileFacts(int parent, const char* path) {
    struct statx facts {};
    if (statx(parent, path, AT_STATX_DONT_SYNC | AT_NO_AUTOMOUNT, STATX_MNT_ID, &facts) != 0) return std::nullopt;
    return FileFacts{
        .device = kernelDeviceNumber(makedev(facts.stx_dev_major, facts.stx_dev_minor)),
        .mountID = (facts.stx_mask & STATX_MNT_ID) ? std::optional<std::uint64_t>(facts.stx_mnt_id) : std::nullopt};
}

namespace {

bool isDescriptorNumber(const char* entryName) {
    if (*entryName == '\0') return false;
    for (const char* c = entryName; *c != '\0'; ++c)
        if (*c < '0' || *c > '9') return false;
    return true;
}

}  // namespace

std::optional<std::vector<VnodeRef>> openDescriptors(int processFolder, const DescriptorChoice& choose) {
    // Whether this folder opens is what tells a readable process from one closed to us.
    const Directory list = openDirectory(processFolder, "fd");
    if (!list) return std::nullopt;
    const int listFolder = dirfd(list.get());
    std::optional<filesupport::OwnedDescriptor> infoFolder;
    std::vector<VnodeRef> files;
    while (const dirent* entry = readdir(list.get())) {
        if (!isDescriptorNumber(entry->d_name)) continue;
        std::optional<VnodeRef> file = choose(listFolder, entry->d_name);
        if (!file) continue;
        if (!infoFolder) infoFolder.emplace(openat(processFolder, "fdinfo", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const std::optional<std::string> info = readText(infoFolder->get(), entry->d_name);
        const std::optional<bool> writing = info ? parseFdinfoWriting(*info) : std::nullopt;
        if (!writing) continue;  // closed in between
        file->writing = *writing;
        files.push_back(std::move(*file));
    }
    return files;
}

}  // namespace kestrix::procfs

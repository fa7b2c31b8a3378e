#include "KestrixKit/Linux/Processes/ProcfsSource.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <climits>
#include <memory>
#include <set>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "KestrixKit/Holders/CutCommandName.h"
#include "KestrixKit/Holders/DisplayName.h"
#include "KestrixKit/Text/ValidUTF8.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

namespace kestrix {
namespace {

// A directory stream closed when it goes out of scope.
struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

Directory openDirectory(int parent, const char* path) {
    const int descriptor = openat(parent, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    DIR* directory = fdopendir(descriptor);
    if (!directory) close(descriptor);
    return Directory(directory);
}

// The whole contents of a small /proc file.
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

// The link's target when it is a file-system object.
std::optional<std::string> filePath(int parent, const char* link) {
    std::optional<std::string> target = readLink(parent, link);
    // Pipes, sockets and anonymous inodes show as "pipe:[…]", "socket:[…]", "anon_inode:…".
    if (!target || !target->starts_with('/')) return std::nullopt;
    return text::validUTF8(std::move(*target));
}

// The link's target when it is a file-system object, with the device it lies on.
std::optional<VnodeRef> fileReference(int parent, const char* link) {
    std::optional<std::string> path = filePath(parent, link);
    if (!path) return std::nullopt;
    struct stat status {};
    if (fstatat(parent, link, &status, 0) != 0) return std::nullopt;
    return VnodeRef{.path = std::move(*path), .device = kernelDeviceNumber(status.st_dev)};
}

// fileReference for a scan of one drive: the path is read only when it can matter, so most
// descriptors cost one call. Cached attributes suffice for the device and mount, and spare a
// network file system a round trip.
std::optional<VnodeRef> fileReferenceFor(const ProcfsFastScan& scan, int parent, const char* link) {
    struct statx facts {};
    if (statx(parent, link, AT_STATX_DONT_SYNC, STATX_MNT_ID, &facts) != 0) return std::nullopt;
    const DescriptorFacts descriptor{
        .device = kernelDeviceNumber(makedev(facts.stx_dev_major, facts.stx_dev_minor)),
        .mountID = (facts.stx_mask & STATX_MNT_ID) ? std::optional<std::uint64_t>(facts.stx_mnt_id) : std::nullopt};
    if (!scan.needsPath(descriptor)) return std::nullopt;
    std::optional<std::string> path = filePath(parent, link);
    if (!path) return std::nullopt;
    return VnodeRef{.path = std::move(*path), .device = descriptor.device};
}

std::optional<std::uint32_t> deviceOf(int descriptor) {
    struct stat status {};
    const bool known = descriptor >= 0 && fstat(descriptor, &status) == 0;
    if (descriptor >= 0) close(descriptor);
    if (!known) return std::nullopt;
    return kernelDeviceNumber(status.st_dev);
}

// The devices of the kernel's own pipe, socket and anonymous-inode file systems.
std::set<std::uint32_t> kernelOnlyDevices() {
    std::set<std::uint32_t> devices;
    std::array<int, 2> pipeEnds{-1, -1};
    if (pipe2(pipeEnds.data(), O_CLOEXEC) == 0) {
        close(pipeEnds[1]);
        if (const auto device = deviceOf(pipeEnds[0])) devices.insert(*device);
    }
    if (const auto device = deviceOf(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0))) devices.insert(*device);
    if (const auto device = deviceOf(eventfd(0, EFD_CLOEXEC))) devices.insert(*device);
    return devices;
}

std::optional<std::int32_t> processID(const char* entryName) {
    std::int32_t pid = 0;
    const char* end = entryName + std::char_traits<char>::length(entryName);
    const auto [stop, error] = std::from_chars(entryName, end, pid);
    if (error != std::errc{} || stop != end || pid <= 0) return std::nullopt;
    return pid;
}

bool isDescriptorNumber(const char* entryName) {
    if (*entryName == '\0') return false;
    for (const char* character = entryName; *character; ++character) {
        if (*character < '0' || *character > '9') return false;
    }
    return true;
}

}  // namespace

std::string ProcfsSource::processPath(std::int32_t pid, const char* entry) const {
    return root_ + "/" + std::to_string(pid) + "/" + entry;
}

std::vector<std::int32_t> ProcfsSource::allPIDs() const {
    std::vector<std::int32_t> pids;
    const Directory directory = openDirectory(AT_FDCWD, root_.c_str());
    if (!directory) return pids;
    while (const dirent* entry = readdir(directory.get())) {
        if (const auto pid = processID(entry->d_name)) pids.push_back(*pid);
    }
    return pids;
}

std::optional<ProcessBasics> ProcfsSource::basics(std::int32_t pid) const {
    if (pid == 0) return ProcessBasics{.pid = 0, .name = "kernel_task", .uid = 0, .parentPID = 0};
    if (pid < 0) return std::nullopt;
    const std::optional<std::string> statusText = readText(AT_FDCWD, processPath(pid, "status").c_str());
    if (!statusText) return std::nullopt;
    const std::optional<procfs::StatusFields> status = procfs::parseStatus(*statusText);
    if (!status) return std::nullopt;
    std::string commandName = status->name;
    // Only a name of the cut length may have lost its end; others need no command line.
    if (const auto commandLine = commandName.size() == commandNameLimit
                                     ? readText(AT_FDCWD, processPath(pid, "cmdline").c_str())
                                     : std::nullopt) {
        commandName = procfs::wholeCommandName(commandName, *commandLine);
    }
    ProcessBasics basics{.pid = pid, .name = commandName, .uid = status->effectiveUID,
                         .parentPID = status->parentPID};
    if (std::optional<std::string> executable = readLink(AT_FDCWD, processPath(pid, "exe").c_str())) {
        basics.executablePath = text::validUTF8(procfs::withoutDeletedMark(std::move(*executable)));
        std::string shown = displayName(*basics.executablePath);
        if (!shown.empty()) basics.name = std::move(shown);
    }
    if (commandName != basics.name) basics.commandName = std::move(commandName);
    return basics;
}

std::optional<std::vector<VnodeRef>> ProcfsSource::openFiles(std::int32_t pid) const {
    return descriptors(pid, nullptr, nullptr);
}

std::optional<std::vector<VnodeRef>> ProcfsSource::openFilesOn(std::int32_t pid, const DriveScope& drive) const {
    const ProcfsFastScan scan = fastScan(drive);
    return descriptors(pid, &drive, &scan);
}

ProcfsFastScan ProcfsSource::fastScan(const DriveScope& drive) const {
    // Unreadable mounts leave none known, and every path is read.
    const auto mounts = readMountEntries(root_ + "/self/mountinfo");
    return ProcfsFastScan(drive, mounts.value_or(std::vector<MountEntry>{}), kernelOnlyDevices());
}

std::vector<std::optional<std::vector<VnodeRef>>> ProcfsSource::openFilesOfEach(const std::vector<std::int32_t>& pids,
                                                                                const DriveScope& drive) const {
    std::vector<std::optional<std::vector<VnodeRef>>> lists(pids.size());
    const ProcfsFastScan scan = fastScan(drive);
    // Small batches from a shared counter keep the threads evenly busy.
    constexpr std::size_t batch = 8;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t start = next.fetch_add(batch); start < pids.size(); start = next.fetch_add(batch)) {
            for (std::size_t index = start; index < std::min(start + batch, pids.size()); ++index) {
                lists[index] = descriptors(pids[index], &drive, &scan);
            }
        }
    };
    const unsigned helpers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u) - 1;
    std::vector<std::jthread> threads;
    for (unsigned count = 0; count < helpers && count * batch < pids.size(); ++count) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no thread to be had: the calling thread does the rest
        }
    }
    work();
    threads.clear();
    return lists;
}

std::optional<std::vector<VnodeRef>> ProcfsSource::descriptors(std::int32_t pid, const DriveScope* drive,
                                                                const ProcfsFastScan* scan) const {
    if (pid <= 0) return std::nullopt;
    const Directory list = openDirectory(AT_FDCWD, processPath(pid, "fd").c_str());
    if (!list) return std::nullopt;
    const int listDescriptor = dirfd(list.get());
    std::optional<filesupport::OwnedDescriptor> infoFolder;
    std::vector<VnodeRef> files;
    while (const dirent* entry = readdir(list.get())) {
        if (!isDescriptorNumber(entry->d_name)) continue;
        const char* name = entry->d_name;
        std::optional<VnodeRef> file =
            scan ? fileReferenceFor(*scan, listDescriptor, name) : fileReference(listDescriptor, name);
        if (!file || (drive && !drive->contains(*file))) continue;
        if (!infoFolder) {
            infoFolder.emplace(open(processPath(pid, "fdinfo").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        }
        const std::optional<std::string> info = readText(infoFolder->get(), entry->d_name);
        const std::optional<bool> writing = info ? procfs::parseFdinfoWriting(*info) : std::nullopt;
        if (!writing) continue;  // closed in between
        file->writing = *writing;
        files.push_back(std::move(*file));
    }
    return files;
}

std::optional<VnodeRef> ProcfsSource::currentFolder(std::int32_t pid) const {
    if (pid <= 0) return std::nullopt;
    return fileReference(AT_FDCWD, processPath(pid, "cwd").c_str());
}

std::optional<std::vector<VnodeRef>> ProcfsSource::mappedFiles(std::int32_t pid) const {
    if (pid <= 0) return std::nullopt;
    const std::optional<std::string> maps = readText(AT_FDCWD, processPath(pid, "maps").c_str());
    if (!maps) return std::nullopt;
    std::vector<VnodeRef> files;
    std::set<std::string, std::less<>> seen;
    std::string_view text = *maps;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::optional<procfs::MappedRegion> region = procfs::parseMapsLine(line);
        if (!region || !seen.insert(region->path).second) continue;
        files.push_back(VnodeRef{.path = std::move(region->path), .device = region->device});
    }
    return files;
}

}  // namespace kestrix

#include "KestrixKit/Linux/Processes/ProcfsSource.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "KestrixKit/Holders/CutCommandName.h"
#include "KestrixKit/Holders/DisplayName.h"
#include "KestrixKit/Text/ValidUTF8.h"
#include "KestrixKit/Linux/Mounts/MountEntries.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/ProcfsDriveReader.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

namespace kestrix {
namespace {

// The link's target when it is a file-system object.
std::optional<std::string> filePath(int parent, const char* link) {
    std::optional<std::string> target = procfs::readLink(parent, link);
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

}  // namespace

std::string ProcfsSource::processPath(std::int32_t pid, const char* entry) const {
    return root_ + "/" + std::to_string(pid) + "/" + entry;
}

std::optional<std::int32_t> ProcfsSource::firstChild(std::int32_t pid) const {
    // The kernel lists the children of each thread; a program that starts others from a second
    // thread is rare, and a shell has one thread.
    const std::string task = std::to_string(pid);
    if (const auto children = procfs::readText(AT_FDCWD, processPath(pid, ("task/" + task + "/children").c_str()).c_str())) {
        const std::vector<std::int32_t> pids = procfs::parsePIDList(*children);
        if (pids.empty()) return std::nullopt;
        return pids.front();
    }
    // A kernel without that list: every process's parent, read from the process table.
    for (const std::int32_t candidate : allPIDs()) {
        const auto stat = procfs::readText(AT_FDCWD, processPath(candidate, "stat").c_str());
        const auto fields = stat ? procfs::parseStat(*stat) : std::nullopt;
        if (fields && fields->parentPID == pid) return candidate;
    }
    return std::nullopt;
}

std::vector<std::int32_t> ProcfsSource::allPIDs() const {
    std::vector<std::int32_t> pids;
    const procfs::Directory directory = procfs::openDirectory(AT_FDCWD, root_.c_str());
    if (!directory) return pids;
    while (const dirent* entry = readdir(directory.get())) {
        if (const auto pid = procfs::processIDOfEntry(entry->d_name)) pids.push_back(*pid);
    }
    return pids;
}

std::optional<ProcessBasics> ProcfsSource::basics(std::int32_t pid) const {
    if (pid == 0) return ProcessBasics{.pid = 0, .name = "kernel_task", .uid = 0, .parentPID = 0};
    if (pid < 0) return std::nullopt;
    const std::optional<std::string> statusText = procfs::readText(AT_FDCWD, processPath(pid, "status").c_str());
    if (!statusText) return std::nullopt;
    const std::optional<procfs::StatusFields> status = procfs::parseStatus(*statusText);
    if (!status) return std::nullopt;
    std::string commandName = status->name;
    const std::optional<std::string> commandLine = procfs::readText(AT_FDCWD, processPath(pid, "cmdline").c_str());
    // Only a name of the cut length may have lost its end.
    if (commandLine && commandName.size() == commandNameLimit) {
        commandName = procfs::wholeCommandName(commandName, *commandLine);
    }
    ProcessBasics basics{.pid = pid, .name = commandName, .uid = status->effectiveUID,
                         .parentPID = status->parentPID};
    if (std::optional<std::string> executable = procfs::readLink(AT_FDCWD, processPath(pid, "exe").c_str())) {
        basics.executablePath = text::validUTF8(procfs::withoutDeletedMark(std::move(*executable)));
        std::string shown = displayName(*basics.executablePath);
        if (!shown.empty()) basics.name = std::move(shown);
    }
    // A program is known by the name it was started by, not by the file an alternative or a
    // versioned link leads to.
    if (std::optional<std::string> typed = commandLine ? procfs::typedName(status->name, *commandLine) : std::nullopt) {
        basics.name = std::move(*typed);
    }
    if (commandName != basics.name) basics.commandName = std::move(commandName);
    if (const auto stat = procfs::readText(AT_FDCWD, processPath(pid, "stat").c_str())) {
        if (const auto fields = procfs::parseStat(*stat)) basics.startTime = fields->startTime;
    }
    if (const std::optional<std::int32_t> child = firstChild(pid)) {
        const auto childStatus = procfs::readText(AT_FDCWD, processPath(*child, "status").c_str());
        const auto childFields = childStatus ? procfs::parseStatus(*childStatus) : std::nullopt;
        if (childFields) basics.job = childFields->name;
    }
    return basics;
}

std::optional<std::vector<VnodeRef>> ProcfsSource::openFiles(std::int32_t pid) const {
    if (pid <= 0) return std::nullopt;
    const filesupport::OwnedDescriptor processFolder(open(processPath(pid, "").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!processFolder.valid()) return std::nullopt;
    return procfs::openDescriptors(processFolder.get(), fileReference);
}

DriveScope ProcfsSource::mountedPart(const DriveScope& drive) const {
    const auto mounts = readMountEntries(root_ + "/self/mountinfo");
    if (!mounts) return drive;  // nothing to tell by
    return mountedPartOf(drive, *mounts,
                         [](const std::string& path) { return procfs::fileFacts(AT_FDCWD, path.c_str()); });
}

std::vector<std::optional<DriveReferences>> ProcfsSource::referencesOfEach(const std::vector<std::int32_t>& pids,
                                                                          const DriveScope& drive, bool deep,
                                                                          bool mountNamespaces) const {
    std::vector<std::optional<DriveReferences>> all(pids.size());
    const filesupport::OwnedDescriptor procFolder(open(root_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!procFolder.valid()) return all;
    // Unreadable mounts leave none known: the devices alone decide.
    const auto mounts = readMountEntries(root_ + "/self/mountinfo");
    const ProcfsDriveReader reader(procFolder.get(), drive, mounts.value_or(std::vector<MountEntry>{}));
    // Small batches from a shared counter keep every core evenly busy.
    constexpr std::size_t batch = 8;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t start = next.fetch_add(batch); start < pids.size(); start = next.fetch_add(batch)) {
            for (std::size_t index = start; index < std::min(start + batch, pids.size()); ++index) {
                all[index] = reader.read(pids[index], deep, mountNamespaces);
            }
        }
    };
    constexpr unsigned mostThreads = 64;
    const unsigned helpers = std::clamp(std::thread::hardware_concurrency(), 1u, mostThreads) - 1;
    std::vector<std::jthread> threads;
    for (unsigned count = 0; count < helpers && (count + 1) * batch < pids.size(); ++count) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no thread to be had: the others do the rest
        }
    }
    work();
    threads.clear();
    return all;
}

std::optional<VnodeRef> ProcfsSource::currentFolder(std::int32_t pid) const {
    if (pid <= 0) return std::nullopt;
    return fileReference(AT_FDCWD, processPath(pid, "cwd").c_str());
}

std::optional<std::vector<VnodeRef>> ProcfsSource::mappedFiles(std::int32_t pid) const {
    if (pid <= 0) return std::nullopt;
    const std::optional<std::string> maps = procfs::readText(AT_FDCWD, processPath(pid, "maps").c_str());
    if (!maps) return std::nullopt;
    return procfs::parseMaps(*maps);
}

}  // namespace kestrix

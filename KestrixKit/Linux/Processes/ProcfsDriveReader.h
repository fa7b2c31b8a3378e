#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Holders/DriveReferences.h"
#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"
#include "KestrixKit/Linux/Processes/WatchedDocuments.h"

namespace kestrix {

// Reads what one process refers to on a drive, for a scan. Each descriptor, the working folder
// and the executable cost one statx; a link's path is read only when its device and mount put it
// on the drive (see ProcfsFastScan), and a descriptor's write flag only when it is; an inotify
// descriptor's watches are read for the documents it watches on the drive. Nothing else of the
// process is read, but its mount namespace when asked. May be used from several threads at once.
class ProcfsDriveReader {
public:
    // procFolder: an open /proc, which must outlive the reader.
    ProcfsDriveReader(int procFolder, DriveScope drive, const std::vector<MountEntry>& mounts);

    // Absent when the process's descriptor folder cannot be read (another user's, or gone). With
    // mountNamespace, also the namespace it runs in: one read of its ns/mnt link.
    std::optional<DriveReferences> read(std::int32_t pid, bool deep, bool mountNamespace) const;

private:
    // The link's target when it is a file-system object on the drive.
    std::optional<VnodeRef> onDrive(int folder, const char* link) const;
    std::optional<VnodeRef> onDrive(int folder, const char* link, const FileFacts& facts) const;
    // The open files on the drive, and the numbers of the inotify descriptors met on the way.
    std::optional<std::vector<VnodeRef>> openFiles(int processFolder, std::vector<std::string>& inotify) const;
    std::vector<VnodeRef> mappedFiles(int processFolder) const;

    int procFolder_;
    DriveScope drive_;
    ProcfsFastScan placement_;
    WatchedDocuments watched_;
};

}  // namespace kestrix

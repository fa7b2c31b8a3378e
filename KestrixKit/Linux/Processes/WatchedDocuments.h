#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Holders/DriveScope.h"
#include "KestrixKit/Holders/VnodeRef.h"
#include "KestrixKit/Linux/Processes/InotifyWatches.h"
#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"

namespace kestrix {

// The documents on a drive that a process watches with inotify (editors do, to notice changes
// made elsewhere) while holding no descriptor on them. A watch names an inode and a device; the
// file's path is found through the file handle beside it where the kernel lets this process
// open handles (root), else among the entries of the drive's folders. Folders watched are not
// documents and are left out. May be used from several threads at once.
class WatchedDocuments {
public:
    explicit WatchedDocuments(DriveScope drive);

    // Whether the open descriptor (with its statx facts) is an inotify instance.
    bool isInotify(int descriptorFolder, const char* number, const FileFacts& facts) const;
    // The regular files on the drive that these inotify descriptors of the process watch.
    std::vector<VnodeRef> documents(int processFolder, const std::vector<std::string>& inotifyDescriptors) const;

private:
    std::optional<std::string> pathByHandle(const InotifyWatch& watch) const;
    // Paths of the regular files among the watched inodes of one device, found in its folders.
    std::vector<VnodeRef> findInFolders(std::uint32_t device, const std::vector<std::uint64_t>& inodes) const;

    DriveScope drive_;
    // Every inotify descriptor is an anonymous inode of this pseudo file system.
    std::optional<std::uint32_t> anonymousInodes_;
};

}  // namespace kestrix

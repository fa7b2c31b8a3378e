#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <dirent.h>

#include "KestrixKit/Holders/VnodeRef.h"
#include "KestrixKit/Linux/Processes/ProcfsFastScan.h"

// Reading the files and links of /proc, relative to an open folder (or AT_FDCWD).
namespace kestrix::procfs {

// A directory stream closed when it goes out of scope.
struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

Directory openDirectory(int parent, const char* path);

// The whole contents of a small /proc file.
std::optional<std::string> readText(int parent, const char* path);

std::optional<std::string> readLink(int parent, const char* path);

// The device and mount of what the path names, following a last link (as /proc/PID/fd/N, cwd
// and exe are); cached attributes suffice and spare a network file system a round trip.
std::optional<FileFacts> fileFacts(int parent, const char* path);

// What an open descriptor of a process refers to, when it is wanted: given the process's
// descriptor folder and the descriptor's number.
using DescriptorChoice = std::function<std::optional<VnodeRef>(int descriptorFolder, const char* number)>;

// The chosen open files of the process whose /proc folder is open, each marked when it is open
// for writing; nothing when its descriptors cannot be listed (a process closed to us).
std::optional<std::vector<VnodeRef>> openDescriptors(int processFolder, const DescriptorChoice& choose);

}  // namespace kestrix::procfs

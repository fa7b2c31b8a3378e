#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// An attached loop device and the file it serves, as sysfs shows them.
struct LoopBacking {
    // "loop3".
    std::string kernelName;
    // The path the file was attached by, without the kernel's " (deleted)" mark.
    std::string backingFile;

    bool operator==(const LoopBacking&) const = default;
};

// Every loop device of <sysfsRoot>/block with a backing file, by name.
std::vector<LoopBacking> readLoopBackings(const std::filesystem::path& sysfsRoot);
// The file that one block device ("loop3") serves; absent when it is no attached loop device.
std::optional<std::string> loopBackingFile(const std::filesystem::path& sysfsRoot, const std::string& kernelName);

}  // namespace kestrix

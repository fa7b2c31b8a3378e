#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "KestrixKit/Volumes/DriveVolume.h"

namespace kestrix {

// The identity of a block device that survives a reused name (see DriveVolume::identity):
// "diskseq:N" of its whole disk where the kernel numbers disks (5.15 and later), else its device
// number with its file system's UUID ("7:3 uuid:…"). Nothing when sysfs does not know the device
// or it holds no medium (a loop device with no image, an empty card reader).
std::optional<std::string> deviceIdentity(const std::filesystem::path& sysfsRoot, const std::filesystem::path& devRoot,
                                          const std::string& kernelName);

// The identity of the device a listed volume names, as this machine shows it now.
std::optional<std::string> currentVolumeIdentity(const DriveVolume& volume);

}  // namespace kestrix

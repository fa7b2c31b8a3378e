#include "KestrixKit/Linux/BlockDevices/DeviceIdentity.h"

#include <system_error>

#include "KestrixKit/Linux/BlockDevices/DiskStacking.h"
#include "KestrixKit/Linux/BlockDevices/FileSystemProbe.h"
#include "KestrixKit/Linux/Files/FirstLine.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> firstLine(const fs::path& file) {
    std::string line = readFirstLine(file);
    if (line.empty()) return std::nullopt;
    return line;
}

}  // namespace

std::optional<std::string> deviceIdentity(const fs::path& sysfsRoot, const fs::path& devRoot,
                                          const std::string& kernelName) {
    const std::optional<std::string> disk = DiskStacking::wholeDisk(sysfsRoot, kernelName);
    if (!disk) return std::nullopt;
    const fs::path entry = sysfsRoot / "class" / "block" / kernelName;
    if (firstLine(entry / "size").value_or("0") == "0") return std::nullopt;
    if (const std::optional<std::string> sequence = firstLine(sysfsRoot / "class" / "block" / *disk / "diskseq")) {
        return "diskseq:" + *sequence;
    }
    const std::optional<std::string> number = firstLine(entry / "dev");
    if (!number) return std::nullopt;
    // Reading the superblock needs root; without it the device number alone is what is known.
    const std::optional<ProbedFileSystem> probed = probeFileSystem(devRoot / kernelName);
    return probed && probed->uuid ? *number + " uuid:" + *probed->uuid : *number;
}

std::optional<std::string> currentVolumeIdentity(const DriveVolume& volume) {
    if (!volume.bsdName) return std::nullopt;
    // /dev/mapper/NAME is a link to the kernel's own node.
    std::error_code error;
    const fs::path node = fs::canonical(fs::path("/dev") / *volume.bsdName, error);
    if (error) return std::nullopt;
    return deviceIdentity("/sys", "/dev", node.filename().string());
}

}  // namespace kestrix

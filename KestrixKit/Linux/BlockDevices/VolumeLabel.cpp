#include "KestrixKit/Linux/BlockDevices/VolumeLabel.h"

#include "KestrixKit/Linux/BlockDevices/FileSystemProbe.h"

namespace kestrix {

std::optional<std::string> volumeLabel(const UdevBlockDevices& devices, const std::string& kernelName) {
    if (const std::optional<std::string> node = devices.deviceNode(kernelName)) {
        if (const std::optional<ProbedFileSystem> probed = probeFileSystem(*node)) return probed->label;
    }
    return devices.fileSystemLabel(kernelName);
}

}  // namespace kestrix

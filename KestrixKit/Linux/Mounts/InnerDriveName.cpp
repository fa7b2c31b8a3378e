#include "KestrixKit/Linux/Mounts/InnerDriveName.h"

#include <optional>

#include "KestrixKit/Linux/BlockDevices/UdevBlockDevices.h"
#include "KestrixKit/Linux/BlockDevices/VolumeLabel.h"
#include "KestrixKit/Text/PlainText.h"

namespace kestrix {

std::string innerDriveName(const MountEntry& inner) {
    const UdevBlockDevices devices;
    std::optional<std::string> name;
    if (inner.source.starts_with("/dev/")) {
        // Found by its node: no device number is needed.
        if (const std::optional<std::string> kernelName = devices.kernelName(0, inner.source)) {
            name = volumeLabel(devices, *kernelName);
        }
    }
    return name.value_or(text::lastPathComponent(inner.mountPoint));
}

}  // namespace kestrix

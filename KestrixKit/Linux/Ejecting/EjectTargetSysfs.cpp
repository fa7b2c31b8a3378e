#include "KestrixKit/Linux/Ejecting/EjectTargetSysfs.h"
#include "KestrixKit/Linux/Files/FirstLine.h"

#include <charconv>
#include <system_error>

namespace kestrix {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view loopMajor = "7:";
constexpr std::string_view opticalDeviceType = "5";
// AHCI port command bits: hot-plug capable port, external SATA port.
constexpr unsigned long hotPlugCapablePort = 1ul << 18;
constexpr unsigned long externalPort = 1ul << 21;

bool isPresent(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// Whether the SATA port behind this device path (through its "hostN" SCSI host) is marked
// hot-pluggable or external.
bool isOnHotPlugPort(const fs::path& sysfsRoot, const fs::path& devicePath) {
    for (const fs::path& component : devicePath) {
        const std::string name = component.string();
        if (!name.starts_with("host")) continue;
        const std::string command = readFirstLine(sysfsRoot / "class" / "scsi_host" / name / "ahci_port_cmd");
        unsigned long bits = 0;
        const auto [end, error] = std::from_chars(command.data(), command.data() + command.size(), bits, 16);
        if (error == std::errc() && (bits & (hotPlugCapablePort | externalPort)) != 0) return true;
    }
    return false;
}

}  // namespace

EjectTargetFacts readEjectTargetFacts(const fs::path& sysfsRoot, const std::string& kernelName) {
    EjectTargetFacts facts;
    if (kernelName.empty() || kernelName.find('/') != std::string::npos || kernelName.starts_with('.')) return facts;
    const fs::path entry = sysfsRoot / "class" / "block" / kernelName;
    // Only a device that is certainly gone has nothing left to eject; one whose files cannot be
    // read is still there, and what it is stays unknown.
    std::error_code absence;
    facts.isBlockDevice = fs::exists(entry, absence) || absence;
    if (!facts.isBlockDevice) return facts;
    const std::string deviceNumber = readFirstLine(entry / "dev");
    facts.isLoop = deviceNumber.starts_with(loopMajor) || isPresent(entry / "loop");
    facts.isOptical = readFirstLine(entry / "device" / "type") == opticalDeviceType;
    facts.canDelete = isPresent(entry / "device" / "delete");
    std::error_code error;
    const fs::path devicePath = fs::canonical(entry / "device", error);
    facts.isHotPluggable = readFirstLine(entry / "removable") == "1" ||
                           (!error && devicePath.string().find("/usb") != std::string::npos) ||
                           (!error && isOnHotPlugPort(sysfsRoot, devicePath));
    return facts;
}

}  // namespace kestrix

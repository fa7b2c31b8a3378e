#include "KestrixKit/Linux/BlockDevices/DeviceDescription.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "KestrixKit/Text/PlainText.h"

namespace kestrix {
namespace {

bool hasAncestor(const BlockDeviceFacts& facts, std::string_view subsystem) {
    return std::find(facts.ancestorSubsystems.begin(), facts.ancestorSubsystems.end(), subsystem) !=
           facts.ancestorSubsystems.end();
}

bool isLoopDevice(const BlockDeviceFacts& facts) { return facts.kernelName.starts_with("loop"); }

bool isSdCard(const BlockDeviceFacts& facts) {
    return facts.kernelName.starts_with("mmcblk") || facts.isFlashSd || hasAncestor(facts, "mmc");
}

bool isOptical(const BlockDeviceFacts& facts) { return facts.isCdrom || facts.kernelName.starts_with("sr"); }

// udev names the bus of most disks; for the rest (older NVMe, virtio) the parent devices tell.
std::optional<std::string> busOf(const BlockDeviceFacts& facts) {
    if (facts.bus) return facts.bus;
    for (std::string_view subsystem : {"usb", "ieee1394", "firewire", "nvme", "virtio", "scsi"}) {
        if (hasAncestor(facts, subsystem)) return std::string(subsystem);
    }
    return std::nullopt;
}

std::optional<std::string> protocolOfBus(const std::optional<std::string>& bus) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> protocols{{
        {"usb", "USB"}, {"ata", "SATA"}, {"scsi", "SCSI"}, {"ieee1394", "FireWire"},
        {"firewire", "FireWire"}, {"nvme", "PCI-Express"}, {"virtio", "Virtual Interface"}}};
    if (!bus) return std::nullopt;
    for (const auto& [name, protocol] : protocols) {
        if (*bus == name) return std::string(protocol);
    }
    return std::nullopt;
}

std::optional<std::string> protocolOf(const BlockDeviceFacts& facts) {
    if (isLoopDevice(facts)) return "Disk Image";
    if (isSdCard(facts)) return "Secure Digital";
    return protocolOfBus(busOf(facts));
}

std::optional<std::string> modelOf(const BlockDeviceFacts& facts) {
    if (isLoopDevice(facts)) return "Disk Image";
    const std::optional<std::string>& model = facts.udevModel ? facts.udevModel : facts.sysfsModel;
    if (!model) return std::nullopt;
    return std::string(text::trimmingBlanks(*model));
}

std::string mediaKindOf(const BlockDeviceFacts& facts) {
    if (!isOptical(facts)) return "IOMedia";
    if (facts.hasBluRayDisc) return "IOBDMedia";
    if (facts.hasDvdDisc) return "IODVDMedia";
    return "IOCDMedia";
}

bool isHotPluggable(const BlockDeviceFacts& facts) {
    const std::optional<std::string> bus = busOf(facts);
    return bus == "usb" || bus == "ieee1394" || bus == "firewire" || isSdCard(facts);
}

}  // namespace

DeviceDescription describe(const BlockDeviceFacts& facts) {
    DeviceDescription description;
    description.deviceProtocol = protocolOf(facts);
    description.deviceModel = modelOf(facts);
    description.mediaKind = mediaKindOf(facts);
    description.isRemovable = facts.removableFlag || isHotPluggable(facts);
    description.isEjectable = facts.removableFlag || isOptical(facts);
    description.isInternal = !description.isRemovable && !description.isEjectable && !isLoopDevice(facts);
    return description;
}

}  // namespace kestrix

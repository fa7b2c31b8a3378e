#include "KestrixKit/Linux/BlockDevices/UdevBlockDevices.h"

#include <libudev.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <string_view>
#include <system_error>

#include "KestrixKit/Linux/BlockDevices/UdevEncoding.h"

namespace kestrix {
namespace {

using DevicePointer = std::unique_ptr<udev_device, decltype(&udev_device_unref)>;

DevicePointer owned(udev_device* device) { return DevicePointer(device, &udev_device_unref); }

std::optional<std::string> optionalText(const char* value) {
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> property(udev_device* device, const char* name) {
    return optionalText(udev_device_get_property_value(device, name));
}

bool isSet(udev_device* device, const char* name) { return property(device, name) == "1"; }

// udev keeps the exact text in the _ENC property and a sanitised one (blanks as "_") in the other.
std::optional<std::string> decodedProperty(udev_device* device, const char* encodedName, const char* plainName) {
    if (const std::optional<std::string> encoded = property(device, encodedName)) return decodedUdevText(*encoded);
    return property(device, plainName);
}

void readDiscProperties(udev_device* device, BlockDeviceFacts& facts) {
    for (udev_list_entry* entry = udev_device_get_properties_list_entry(device); entry != nullptr;
         entry = udev_list_entry_get_next(entry)) {
        const std::string_view name = udev_list_entry_get_name(entry);
        const char* value = udev_list_entry_get_value(entry);
        if (value == nullptr || std::string_view(value) != "1") continue;
        if (name.starts_with("ID_CDROM_MEDIA_BD")) facts.hasBluRayDisc = true;
        if (name.starts_with("ID_CDROM_MEDIA_DVD")) facts.hasDvdDisc = true;
    }
}

}  // namespace

UdevBlockDevices::UdevBlockDevices() : context_(udev_new(), [](struct udev* context) { udev_unref(context); }) {}

std::optional<std::string> UdevBlockDevices::kernelName(dev_t deviceNumber,
                                                        const std::optional<std::string>& mountSource) const {
    if (!context_) return std::nullopt;
    if (major(deviceNumber) != 0) {
        if (DevicePointer device = owned(udev_device_new_from_devnum(context_.get(), 'b', deviceNumber))) {
            return optionalText(udev_device_get_sysname(device.get()));
        }
    }
    if (!mountSource || !mountSource->starts_with("/dev/")) return std::nullopt;
    // /dev/mapper/NAME and /dev/disk/by-*/NAME are links to the kernel's own node.
    std::error_code error;
    const std::filesystem::path node = std::filesystem::canonical(*mountSource, error);
    const std::string name = (error ? std::filesystem::path(*mountSource) : node).filename().string();
    DevicePointer device = owned(udev_device_new_from_subsystem_sysname(context_.get(), "block", name.c_str()));
    if (!device) return std::nullopt;
    return optionalText(udev_device_get_sysname(device.get()));
}

std::optional<std::string> UdevBlockDevices::fileSystemLabel(const std::string& kernelName) const {
    if (!context_) return std::nullopt;
    DevicePointer device = owned(udev_device_new_from_subsystem_sysname(context_.get(), "block", kernelName.c_str()));
    if (!device) return std::nullopt;
    std::optional<std::string> label = decodedProperty(device.get(), "ID_FS_LABEL_ENC", "ID_FS_LABEL");
    if (label && label->empty()) return std::nullopt;
    return label;
}

std::optional<std::string> UdevBlockDevices::deviceNode(const std::string& kernelName) const {
    if (!context_) return std::nullopt;
    DevicePointer device = owned(udev_device_new_from_subsystem_sysname(context_.get(), "block", kernelName.c_str()));
    if (!device) return std::nullopt;
    return optionalText(udev_device_get_devnode(device.get()));
}

std::optional<BlockDeviceFacts> UdevBlockDevices::facts(const std::string& kernelName) const {
    if (!context_) return std::nullopt;
    DevicePointer device = owned(udev_device_new_from_subsystem_sysname(context_.get(), "block", kernelName.c_str()));
    if (!device) return std::nullopt;

    BlockDeviceFacts facts;
    facts.kernelName = kernelName;
    facts.bus = property(device.get(), "ID_BUS");
    // Parents belong to the child device and are released with it.
    for (udev_device* parent = udev_device_get_parent(device.get()); parent != nullptr;
         parent = udev_device_get_parent(parent)) {
        if (const char* subsystem = udev_device_get_subsystem(parent)) facts.ancestorSubsystems.emplace_back(subsystem);
    }
    facts.udevModel = decodedProperty(device.get(), "ID_MODEL_ENC", "ID_MODEL");
    facts.sysfsModel = optionalText(udev_device_get_sysattr_value(device.get(), "device/model"));
    facts.removableFlag = optionalText(udev_device_get_sysattr_value(device.get(), "removable")) == "1";
    facts.isCdrom = isSet(device.get(), "ID_CDROM");
    facts.isFlashSd = isSet(device.get(), "ID_DRIVE_FLASH_SD") || isSet(device.get(), "ID_DRIVE_MEDIA_FLASH_SD");
    readDiscProperties(device.get(), facts);
    return facts;
}

}  // namespace kestrix

#include "KestrixKit/Simulated/WorldVolume.h"

#include "KestrixKit/Holders/KernelHolderCoding.h"
#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {

using namespace world;

std::vector<WorldVolume> decodeWorldVolumes(const nlohmann::json& worldObject) {
    std::vector<WorldVolume> volumes;
    const nlohmann::json& entries = optionalArray(worldObject, "volumes", "world");
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const std::string where = "volumes[" + std::to_string(index) + "]";
        const nlohmann::json& entry = object(entries[index], where);
        WorldVolume volume;
        MountedVolume& facts = volume.facts;
        facts.path = requiredString(entry, "path", where);
        facts.name = optionalString(entry, "name", where);
        facts.totalCapacity = optionalUInt64(entry, "totalCapacity", where);
        facts.availableCapacity = optionalUInt64(entry, "availableCapacity", where);
        facts.isInternal = optionalBool(entry, "isInternal", where);
        facts.isEjectable = optionalBool(entry, "isEjectable", where);
        facts.isRemovable = optionalBool(entry, "isRemovable", where);
        facts.isLocal = optionalBool(entry, "isLocal", where);
        facts.isRootFileSystem = optionalBool(entry, "isRootFileSystem", where);
        facts.isReadOnly = optionalBool(entry, "isReadOnly", where);
        facts.mountSource = optionalString(entry, "mountSource", where);
        facts.fileSystem = optionalString(entry, "fileSystem", where).value_or("");
        facts.device = optionalUInt32(entry, "device", where).value_or(0);
        facts.deviceModel = optionalString(entry, "deviceModel", where);
        facts.deviceProtocol = optionalString(entry, "deviceProtocol", where);
        facts.mediaKind = optionalString(entry, "mediaKind", where);
        facts.wholeDisk = optionalString(entry, "wholeDisk", where);
        facts.physicalDisk = optionalString(entry, "physicalDisk", where);
        facts.imageFile = optionalString(entry, "imageFile", where);
        volume.unreadable = optionalBool(entry, "unreadable", where).value_or(false);
        const nlohmann::json& kernelHolders = optionalArray(entry, "kernelHolders", where);
        try {
            volume.kernelHolders = kernelHolders.get<std::vector<KernelHolder>>();
        } catch (const nlohmann::json::exception& error) {
            throw WorldFormatError(where + ".kernelHolders: " + error.what());
        }
        volumes.push_back(std::move(volume));
    }
    return volumes;
}

}  // namespace kestrix

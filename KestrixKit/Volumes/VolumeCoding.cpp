#include "KestrixKit/Volumes/VolumeCoding.h"

#include "KestrixKit/Coding/OptionalCoding.h"

namespace kestrix {

using coding::getOptional;
using coding::putOptional;

void to_json(nlohmann::json& json, VolumeKind kind) { json = std::string(rawValue(kind)); }

void from_json(const nlohmann::json& json, VolumeKind& kind) {
    const std::optional<VolumeKind> decoded = volumeKindFromRawValue(json.get<std::string>());
    if (!decoded) throw nlohmann::json::other_error::create(501, "unknown volume kind " + json.dump(), &json);
    kind = *decoded;
}

void to_json(nlohmann::json& json, const DriveVolume& volume) {
    json = nlohmann::json::object();
    json["name"] = volume.name;
    json["mountPath"] = volume.mountPath;
    putOptional(json, "bsdName", volume.bsdName);
    putOptional(json, "wholeDisk", volume.wholeDisk);
    putOptional(json, "physicalDisk", volume.physicalDisk);
    json["device"] = volume.device;
    json["kind"] = volume.kind;
    json["fileSystem"] = volume.fileSystem;
    json["totalBytes"] = volume.totalBytes;
    json["freeBytes"] = volume.freeBytes;
    json["isReadOnly"] = volume.isReadOnly;
    putOptional(json, "identity", volume.identity);
    putOptional(json, "imageFile", volume.imageFile);
}

void from_json(const nlohmann::json& json, DriveVolume& volume) {
    volume.name = json.at("name").get<std::string>();
    volume.mountPath = json.at("mountPath").get<std::string>();
    volume.bsdName = getOptional<std::string>(json, "bsdName");
    volume.wholeDisk = getOptional<std::string>(json, "wholeDisk");
    volume.physicalDisk = getOptional<std::string>(json, "physicalDisk");
    volume.device = json.at("device").get<std::uint32_t>();
    volume.kind = json.at("kind").get<VolumeKind>();
    volume.fileSystem = json.at("fileSystem").get<std::string>();
    volume.totalBytes = json.at("totalBytes").get<std::uint64_t>();
    volume.freeBytes = json.at("freeBytes").get<std::uint64_t>();
    volume.isReadOnly = json.at("isReadOnly").get<bool>();
    volume.identity = getOptional<std::string>(json, "identity");
    volume.imageFile = getOptional<std::string>(json, "imageFile");
}

void to_json(nlohmann::json& json, const Drive& drive) {
    json = nlohmann::json{{"id", drive.id}, {"volumes", drive.volumes}};
}

void from_json(const nlohmann::json& json, Drive& drive) {
    drive.id = json.at("id").get<std::string>();
    drive.volumes = json.at("volumes").get<std::vector<DriveVolume>>();
}

void to_json(nlohmann::json& json, const VolumeFilter& filter) {
    json = nlohmann::json{{"diskImages", filter.diskImages}, {"networkShares", filter.networkShares}};
}

void from_json(const nlohmann::json& json, VolumeFilter& filter) {
    filter.diskImages = json.at("diskImages").get<bool>();
    filter.networkShares = json.at("networkShares").get<bool>();
}

}  // namespace kestrix

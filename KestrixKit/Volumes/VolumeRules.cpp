#include "KestrixKit/Volumes/VolumeRules.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrix::VolumeRules {
namespace {

std::string lowercased(const std::optional<std::string>& text) {
    std::string result = text.value_or("");
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return result;
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Where removable media are mounted: /Volumes/ there, /media/ and /run/media/ on Linux desktops.
bool isRemovableMediaMountPoint(std::string_view path) {
    constexpr std::array<std::string_view, 3> prefixes{"/Volumes/", "/media/", "/run/media/"};
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](std::string_view prefix) { return path.starts_with(prefix); });
}

}  // namespace

std::optional<VolumeKind> kind(const VolumeFacts& facts, bool anyMountPoint) {
    if (facts.isRoot) return std::nullopt;
    if (facts.path == "/") return std::nullopt;
    if (!anyMountPoint && !isRemovableMediaMountPoint(facts.path)) return std::nullopt;
    if (!facts.isLocal) return VolumeKind::networkShare;

    const std::string model = lowercased(facts.deviceModel);
    const std::string protocol = lowercased(facts.deviceProtocol);
    const std::string media = lowercased(facts.mediaKind);

    if (contains(model, "disk image")) return VolumeKind::diskImage;
    if (protocol == "virtual interface" && contains(model, "image")) return VolumeKind::diskImage;
    if (protocol == "disk image") return VolumeKind::diskImage;
    if (contains(media, "cd") || contains(media, "dvd") || contains(media, "bd")) return VolumeKind::optical;
    if (facts.isInternal && !facts.isEjectable && !facts.isRemovable) return std::nullopt;
    if (contains(protocol, "secure digital")) return VolumeKind::memoryCard;
    if (contains(model, "sd card")) return VolumeKind::memoryCard;
    if (contains(model, "card reader")) return VolumeKind::memoryCard;
    if (protocol == "sd") return VolumeKind::memoryCard;
    return VolumeKind::externalDrive;
}

}  // namespace kestrix::VolumeRules

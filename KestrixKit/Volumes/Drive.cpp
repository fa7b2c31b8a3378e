#include "KestrixKit/Volumes/Drive.h"

#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix {

std::string Drive::name() const {
    std::string joined;
    for (std::size_t index = 0; index < volumes.size(); ++index) {
        if (index > 0) joined += ", ";
        joined += volumes[index].name;
    }
    return joined;
}

std::vector<std::string> Drive::mountPaths() const {
    std::vector<std::string> paths;
    paths.reserve(volumes.size());
    for (const DriveVolume& volume : volumes) paths.push_back(volume.mountPath);
    return paths;
}

std::set<std::uint32_t> Drive::devices() const {
    std::set<std::uint32_t> result;
    for (const DriveVolume& volume : volumes) result.insert(volume.device);
    return result;
}

VolumeKind Drive::kind() const {
    return volumes.empty() ? VolumeKind::externalDrive : volumes.front().kind;
}

std::uint64_t Drive::totalBytes() const {
    std::uint64_t sum = 0;
    for (const DriveVolume& volume : volumes) sum += volume.totalBytes;
    return sum;
}

std::uint64_t Drive::freeBytes() const {
    std::uint64_t sum = 0;
    for (const DriveVolume& volume : volumes) sum += volume.freeBytes;
    return sum;
}

bool Drive::matches(std::string_view query) const {
    const std::string trimmed = text::trimmed(query);
    if (trimmed.empty()) return false;
    for (const DriveVolume& volume : volumes) {
        if (text::equalIgnoringCaseAndDiacritics(volume.name, trimmed)) return true;
    }
    return text::equalIgnoringCaseAndDiacritics(name(), trimmed);
}

}  // namespace kestrix

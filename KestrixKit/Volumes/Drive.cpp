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

namespace {

// Each file system counted once: volumes with one device number are mounts of one file system
// (a bind mount shows the same capacity again). A device number of 0 names no file system, so
// such volumes each count.
template <typename Bytes>
std::uint64_t sumPerFileSystem(const std::vector<DriveVolume>& volumes, Bytes bytes) {
    std::set<std::uint32_t> counted;
    std::uint64_t sum = 0;
    for (const DriveVolume& volume : volumes) {
        if (volume.device == 0 || counted.insert(volume.device).second) sum += bytes(volume);
    }
    return sum;
}

}  // namespace

std::uint64_t Drive::totalBytes() const {
    return sumPerFileSystem(volumes, [](const DriveVolume& volume) { return volume.totalBytes; });
}

std::uint64_t Drive::freeBytes() const {
    return sumPerFileSystem(volumes, [](const DriveVolume& volume) { return volume.freeBytes; });
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

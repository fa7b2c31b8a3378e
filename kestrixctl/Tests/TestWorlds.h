#pragma once

#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

namespace kestrixctl::testing {

// A USB drive of one ext4 volume as a world lists it; the simulated ejector ejects it.
inline nlohmann::json usbVolume(const std::string& name, const std::string& path, int device, const std::string& disk) {
    return {{"path", path},          {"name", name},           {"totalCapacity", 16000000000},
            {"availableCapacity", 8000000000}, {"isEjectable", true}, {"isRemovable", true},
            {"mountSource", "/dev/" + disk + "1"}, {"fileSystem", "ext4"}, {"device", device},
            {"deviceProtocol", "USB"}, {"wholeDisk", disk}};
}

inline void writeWorld(const std::string& path, const nlohmann::json& world) { std::ofstream(path) << world.dump(1); }

}  // namespace kestrixctl::testing

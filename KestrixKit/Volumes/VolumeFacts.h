#pragma once

#include <optional>
#include <string>

namespace kestrix {

// The facts about one mounted volume on which its classification rests.
struct VolumeFacts {
    std::string path;
    bool isRoot = false;
    bool isInternal = false;
    bool isEjectable = false;
    bool isRemovable = false;
    bool isLocal = true;
    std::optional<std::string> deviceModel;
    std::optional<std::string> deviceProtocol;
    std::optional<std::string> mediaKind;

    bool operator==(const VolumeFacts&) const = default;
};

}  // namespace kestrix

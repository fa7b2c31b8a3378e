#pragma once

#include <optional>
#include <string>

#include "KestrixKit/Linux/BlockDevices/BlockDeviceFacts.h"

namespace kestrix {

// A disk described in the terms the volume rules read: bus, model, media class and the three flags.
struct DeviceDescription {
    std::optional<std::string> deviceProtocol;
    std::optional<std::string> deviceModel;
    std::optional<std::string> mediaKind;
    bool isInternal = false;
    bool isEjectable = false;
    bool isRemovable = false;

    bool operator==(const DeviceDescription&) const = default;
};

DeviceDescription describe(const BlockDeviceFacts& facts);

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Readers of the kernel's text about data on its way to the drives, kept apart from the file
// access so that they can be tested.
namespace kestrix::writeback {

// Dirty + Writeback of /proc/meminfo, in bytes; absent without either line.
std::optional<std::uint64_t> cachedBytes(std::string_view meminfo);

struct DeviceWrites {
    std::uint64_t writtenBytes = 0;
    std::uint64_t inFlight = 0;
    bool operator==(const DeviceWrites&) const = default;
};

// Sectors written (of 512 bytes, whatever the device's own) and requests in flight, from a block
// device's stat file (/sys/class/block/DEV/stat); absent when it has fewer than nine fields.
std::optional<DeviceWrites> deviceWrites(std::string_view stat);

}  // namespace kestrix::writeback

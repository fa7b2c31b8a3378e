#pragma once

#include <cstdint>

// The disk service's status codes that the system interprets, as signed 32-bit patterns.
namespace kestrix::DAStatus {

// The service's general failure, for refusals it has no more specific code for.
inline constexpr std::int32_t error = static_cast<std::int32_t>(0xF8DA0001u);
inline constexpr std::int32_t busy = static_cast<std::int32_t>(0xF8DA0002u);
inline constexpr std::int32_t notPrivileged = static_cast<std::int32_t>(0xF8DA0009u);
inline constexpr std::int32_t notPermitted = static_cast<std::int32_t>(0xF8DA0003u);
inline constexpr std::int32_t notFound = static_cast<std::int32_t>(0xF8DA0005u);
inline constexpr std::int32_t exclusive = static_cast<std::int32_t>(0xF8DA0006u);
// EBUSY in the kernel's Unix-error encoding (0xC000 + errno).
inline constexpr std::int32_t unixBusy = 0x0000C010;

constexpr bool isBusy(std::int32_t status) { return status == busy || status == exclusive || status == unixBusy; }

}  // namespace kestrix::DAStatus

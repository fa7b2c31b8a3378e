#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrix::TimeshiftSettings {

// Where Timeshift keeps its settings.
inline constexpr const char* path = "/etc/timeshift/timeshift.json";

// The UUID of the file system Timeshift writes its snapshots to ("backup_device_uuid"), from the
// settings text; absent when the text is no settings object or names no device. Only the
// letters, digits and dashes of a file-system UUID are accepted, as it becomes part of a path.
std::optional<std::string> backupDeviceUUID(std::string_view settingsText);

// Whether a file-system UUID is safe to look up: 1 to 64 ASCII letters, digits and dashes.
bool isFileSystemUUID(std::string_view uuid);

}  // namespace kestrix::TimeshiftSettings

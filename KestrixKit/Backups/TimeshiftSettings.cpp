#include "KestrixKit/Backups/TimeshiftSettings.h"

#include <algorithm>

#include "KestrixKit/Coding/JSONText.h"

namespace kestrix::TimeshiftSettings {

bool isFileSystemUUID(std::string_view uuid) {
    return !uuid.empty() && uuid.size() <= 64 && std::all_of(uuid.begin(), uuid.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
    });
}

std::optional<std::string> backupDeviceUUID(std::string_view settingsText) {
    const nlohmann::json settings = coding::parseWholeJSON(settingsText);
    if (!settings.is_object()) return std::nullopt;
    const auto found = settings.find("backup_device_uuid");
    if (found == settings.end() || !found->is_string()) return std::nullopt;
    const std::string& uuid = found->get_ref<const std::string&>();
    if (!isFileSystemUUID(uuid)) return std::nullopt;
    return uuid;
}

}  // namespace kestrix::TimeshiftSettings

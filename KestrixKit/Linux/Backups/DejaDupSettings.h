#pragma once

#include <optional>
#include <string>

namespace kestrix {

// Where Déjà Dup is set to back up, from its GSettings (org.gnome.DejaDup): a removable drive by
// its file system's UUID and a folder on it, or a local folder.
struct DejaDupDestination {
    std::string backend;
    std::optional<std::string> driveUUID;
    std::optional<std::string> folder;

    bool operator==(const DejaDupDestination&) const = default;
};

// Absent when Déjà Dup's settings schema is not installed.
std::optional<DejaDupDestination> readDejaDupDestination();

// The local folder as Déjà Dup places it: an absolute path as it is, else under the home folder.
std::string dejaDupLocalFolder(const std::string& folder, const std::string& home);

}  // namespace kestrix

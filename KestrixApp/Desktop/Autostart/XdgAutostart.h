#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::desktop {

// Launching at login the way desktops agree on: an entry in the user's autostart folder
// ($XDG_CONFIG_HOME/autostart) that is not Hidden=true.
class XdgAutostart {
public:
    // entryFile: the autostart entry; applicationFolders: where the installed desktop entry may
    // be, in order of preference; executable: what to run when none is installed.
    XdgAutostart(std::filesystem::path entryFile, std::vector<std::filesystem::path> applicationFolders,
                 std::string executable);

    // The folders of this session: $XDG_CONFIG_HOME (else ~/.config), $XDG_DATA_HOME (else
    // ~/.local/share) and $XDG_DATA_DIRS (else /usr/local/share:/usr/share).
    static XdgAutostart forThisSession(const std::string& executable);

    bool isEnabled() const;
    // Writes or removes the entry; the failure in words, nothing when it worked.
    std::optional<std::string> setEnabled(bool enabled);

    const std::filesystem::path& entryFile() const { return entryFile_; }

private:
    std::optional<std::string> installedEntry() const;

    std::filesystem::path entryFile_;
    std::vector<std::filesystem::path> applicationFolders_;
    std::string executable_;
};

}  // namespace kestrix::desktop

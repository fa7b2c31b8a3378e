#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "KestrixKit/Backups/TimeshiftSettings.h"
#include "KestrixKit/System/TraceSink.h"
#include "KestrixKit/TimeMachine/TimeMachineStatus.h"

namespace kestrix {

// Where the reader looks; the defaults are this machine's.
struct LinuxBackupPlaces {
    std::string procRoot = "/proc";
    std::string timeshiftSettings = TimeshiftSettings::path;
    std::string mountInfo = "/proc/self/mountinfo";
    // The user's home folder, where a relative Déjà Dup folder lies.
    std::string home;
};

// The backups Timeshift, Déjà Dup, borg and restic run on this machine, found without privileges:
// the process table for what runs, and for where it writes the tool's own settings (Timeshift's
// JSON file, Déjà Dup's GSettings) or the repository on the command line. A tool that isn't
// installed, or settings that can't be read, count as no backup. Each read is traced.
class LinuxBackupReader {
public:
    LinuxBackupReader(std::uint32_t currentUID, LinuxBackupPlaces places, TraceSink trace = {});

    std::vector<TimeMachineStatus> running() const;

    // Stops a backup the tool's clean way, as Ctrl+C does: SIGINT to the tool's own process, once
    // that process is seen to still run the tool. False, with the reason, when it can't.
    std::pair<bool, std::string> stop(const TimeMachineStatus& backup) const;

private:
    std::vector<std::string> timeshiftDestinations() const;
    std::vector<std::string> dejaDupDestinations() const;
    std::vector<std::string> mountPoints(const std::string& uuid) const;
    void trace(const std::string& line) const;

    std::uint32_t currentUID_;
    LinuxBackupPlaces places_;
    TraceSink trace_;
};

}  // namespace kestrix

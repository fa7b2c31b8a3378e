#include "KestrixKit/Linux/Backups/LinuxBackupReader.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>

#include "FileSupport/RegularFile.h"
#include "KestrixKit/Backups/BackupCommandLine.h"
#include "KestrixKit/Backups/RunningBackups.h"
#include "KestrixKit/Linux/Backups/BackupProcessTable.h"
#include "KestrixKit/Linux/Backups/DejaDupSettings.h"
#include "KestrixKit/Linux/Backups/MountPointsByUUID.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"

namespace kestrix {
namespace {

// Timeshift's settings are a few hundred bytes.
constexpr std::size_t largestSettingsFile = 1024 * 1024;

// The path with its links resolved where it exists, so that it compares with the mount points.
std::string resolved(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) line += (line.empty() ? "" : " ") + word;
    return line.empty() ? "none" : line;
}

}  // namespace

LinuxBackupReader::LinuxBackupReader(std::uint32_t currentUID, LinuxBackupPlaces places, TraceSink trace)
    : currentUID_(currentUID), places_(std::move(places)), trace_(std::move(trace)) {}

void LinuxBackupReader::trace(const std::string& line) const {
    if (trace_) trace_(line);
}

std::vector<TimeMachineStatus> LinuxBackupReader::running() const {
    const std::vector<RunningBackup> backups = RunningBackups::find(readBackupProcesses(places_.procRoot), currentUID_);
    std::vector<std::string> found;
    for (const RunningBackup& backup : backups) {
        found.push_back(std::string(rawValue(backup.tool)) + ":" + std::to_string(backup.processes.front()));
    }
    trace("backups " + places_.procRoot + " -> " + joined(found));
    std::vector<TimeMachineStatus> statuses;
    for (const RunningBackup& backup : backups) {
        TimeMachineStatus status{.running = true, .tool = backup.tool, .processes = backup.processes,
                                 .stoppable = backup.stoppable};
        switch (backup.tool) {
            case BackupTool::timeshift: status.destinationMountPoints = timeshiftDestinations(); break;
            case BackupTool::dejaDup: status.destinationMountPoints = dejaDupDestinations(); break;
            case BackupTool::borg:
            case BackupTool::restic: status.destinationMountPoints = {resolved(*backup.repository)}; break;
        }
        statuses.push_back(std::move(status));
    }
    return statuses;
}

std::vector<std::string> LinuxBackupReader::timeshiftDestinations() const {
    auto text = filesupport::readRegularFile(places_.timeshiftSettings, largestSettingsFile);
    const auto* settings = std::get_if<std::string>(&text);
    const std::optional<std::string> uuid = settings ? TimeshiftSettings::backupDeviceUUID(*settings) : std::nullopt;
    trace("timeshift settings " + places_.timeshiftSettings + " -> " + uuid.value_or("none"));
    if (!uuid) return {};
    return mountPoints(*uuid);
}

std::vector<std::string> LinuxBackupReader::dejaDupDestinations() const {
    const std::optional<DejaDupDestination> destination = readDejaDupDestination();
    if (!destination) {
        trace("gsettings org.gnome.DejaDup -> not installed");
        return {};
    }
    trace("gsettings org.gnome.DejaDup backend -> " + destination->backend);
    if (destination->backend == "drive" && destination->driveUUID) return mountPoints(*destination->driveUUID);
    if (destination->backend == "local" && destination->folder) {
        return {resolved(dejaDupLocalFolder(*destination->folder, places_.home))};
    }
    return {};
}

std::vector<std::string> LinuxBackupReader::mountPoints(const std::string& uuid) const {
    std::vector<std::string> found = mountPointsOfUUID(uuid, places_.mountInfo);
    trace("mounts of UUID=" + uuid + " -> " + joined(found));
    return found;
}

std::pair<bool, std::string> LinuxBackupReader::stop(const TimeMachineStatus& backup) const {
    if (!backup.tool || !backup.stoppable || backup.processes.empty()) return {false, "no clean way to stop it"};
    const std::int32_t pid = backup.processes.front();
    const std::string program(*backup.tool == BackupTool::borg ? "borg" : "restic");
    const auto commandLine =
        procfs::readText(AT_FDCWD, (places_.procRoot + "/" + std::to_string(pid) + "/cmdline").c_str());
    // The backup may have ended since it was shown, and its pid gone to another program.
    if (!commandLine || BackupCommandLine::programName(BackupCommandLine::words(*commandLine)) != program) {
        trace("stopBackup " + program + " " + std::to_string(pid) + " -> gone");
        return {true, ""};
    }
    const bool sent = ::kill(pid, SIGINT) == 0;
    const std::string reason = sent ? "" : std::strerror(errno);
    trace("kill -INT " + std::to_string(pid) + " -> " + (sent ? "true" : "false"));
    return {sent, reason};
}

}  // namespace kestrix

// Any bytes as Timeshift's settings file, and as a process's command line: the readers never
// fault, a UUID they take is safe to put in a path, and a repository they place is absolute.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/Backups/BackupCommandLine.h"
#include "KestrixKit/Backups/RunningBackups.h"
#include "KestrixKit/Backups/TimeshiftSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto uuid = TimeshiftSettings::backupDeviceUUID(text)) {
        if (!TimeshiftSettings::isFileSystemUUID(*uuid) || uuid->find('/') != std::string::npos) std::abort();
    }
    std::vector<std::string> arguments = BackupCommandLine::words(text);
    for (const auto& repository :
         {BackupCommandLine::borgRepository(arguments), BackupCommandLine::resticRepository(arguments)}) {
        if (!repository) continue;
        const auto folder = BackupCommandLine::localFolder(*repository, "/media/u");
        if (folder && !folder->starts_with('/')) std::abort();
    }
    // The words as one process of a table, under itself as its parent too.
    const std::vector<BackupProcess> table{{.pid = 7, .parentPID = 7, .uid = 0, .name = "x", .arguments = arguments, .workingFolder = "/"},
                                           {.pid = 8, .parentPID = 7, .uid = 1, .name = "y", .arguments = arguments, .workingFolder = {}}};
    for (const RunningBackup& backup : RunningBackups::find(table, 1)) {
        if (backup.processes.empty()) std::abort();
    }
    return 0;
}

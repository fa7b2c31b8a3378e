#include "KestrixKit/Linux/Backups/BackupProcessTable.h"

#include <fcntl.h>

#include "KestrixKit/Backups/BackupCommandLine.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Text/ValidUTF8.h"

namespace kestrix {

std::vector<BackupProcess> readBackupProcesses(const std::string& procRoot) {
    std::vector<BackupProcess> processes;
    for (const std::int32_t pid : ProcfsSource(procRoot).allPIDs()) {
        const std::string folder = procRoot + "/" + std::to_string(pid) + "/";
        const auto statusText = procfs::readText(AT_FDCWD, (folder + "status").c_str());
        const auto status = statusText ? procfs::parseStatus(*statusText) : std::nullopt;
        if (!status) continue;
        BackupProcess process{.pid = pid, .parentPID = status->parentPID, .uid = status->effectiveUID,
                              .name = status->name};
        if (const auto commandLine = procfs::readText(AT_FDCWD, (folder + "cmdline").c_str())) {
            process.arguments = BackupCommandLine::words(*commandLine);
        }
        if (auto cwd = procfs::readLink(AT_FDCWD, (folder + "cwd").c_str()); cwd && cwd->starts_with('/')) {
            process.workingFolder = text::validUTF8(std::move(*cwd));
        }
        processes.push_back(std::move(process));
    }
    return processes;
}

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <vector>

#include "KestrixKit/Backups/BackupProcess.h"
#include "KestrixKit/Backups/RunningBackup.h"

namespace kestrix::RunningBackups {

// The backups the processes run: `timeshift --create|--check`; Déjà Dup while duplicity, restic
// or borg runs under it; borg and restic with a local repository on their command line. A
// process belongs to one backup at most, so Déjà Dup's own restic is not counted again.
std::vector<RunningBackup> find(const std::vector<BackupProcess>& processes, std::uint32_t currentUID);

}  // namespace kestrix::RunningBackups

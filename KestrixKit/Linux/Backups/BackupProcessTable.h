#pragma once

#include <string>
#include <vector>

#include "KestrixKit/Backups/BackupProcess.h"

namespace kestrix {

// Every process of /proc with its parent, owner and command line, readable by anyone; the
// working folder only where the process is the user's own. A process that ends meanwhile is left out.
std::vector<BackupProcess> readBackupProcesses(const std::string& procRoot = "/proc");

}  // namespace kestrix

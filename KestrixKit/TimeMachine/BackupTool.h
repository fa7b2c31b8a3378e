#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// The Linux backup tools whose running backups Kestrix recognises. Raw values are the case names.
enum class BackupTool { timeshift, dejaDup, borg, restic };

std::string_view rawValue(BackupTool tool);
std::optional<BackupTool> backupToolFromRawValue(std::string_view raw);

// Whether the tool stops cleanly on Ctrl+C (SIGINT) from outside: borg and restic do; Timeshift
// and Déjà Dup give another program no clean way.
bool hasCleanStop(BackupTool tool);

// The tool's own name, as its users know it.
std::string_view toolName(BackupTool tool);

}  // namespace kestrix

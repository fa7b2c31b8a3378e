#include "KestrixKit/TimeMachine/BackupTool.h"

#include "KestrixKit/Coding/RawValueTable.h"

namespace kestrix {
namespace {

constexpr coding::RawValueTable<BackupTool, 4> backupToolTable{{{
    {BackupTool::timeshift, "timeshift"},
    {BackupTool::dejaDup, "dejaDup"},
    {BackupTool::borg, "borg"},
    {BackupTool::restic, "restic"},
}}};

}  // namespace

std::string_view rawValue(BackupTool tool) { return backupToolTable.name(tool); }
std::optional<BackupTool> backupToolFromRawValue(std::string_view raw) { return backupToolTable.value(raw); }

bool hasCleanStop(BackupTool tool) { return tool == BackupTool::borg || tool == BackupTool::restic; }

std::string_view toolName(BackupTool tool) {
    switch (tool) {
        case BackupTool::timeshift: return "Timeshift";
        case BackupTool::dejaDup: return "D\u00e9j\u00e0 Dup";
        case BackupTool::borg: return "Borg";
        case BackupTool::restic: return "restic";
    }
    return {};
}

}  // namespace kestrix

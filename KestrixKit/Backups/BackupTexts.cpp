#include "KestrixKit/Backups/BackupTexts.h"

#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::BackupTexts {

std::string report(const TimeMachineStatus& backup, const std::string& driveName) {
    if (!backup.tool) return localizedFormat("Time Machine is backing up to %1.", {driveName});
    return localizedFormat("%1 is backing up to %2.", {toolName(*backup.tool), driveName});
}

std::string backingUp(const TimeMachineStatus& backup, std::optional<int> percentDone) {
    if (!backup.tool) {
        return percentDone ? localizedFormat("Time Machine is backing up to this drive (%1% done).",
                                             {std::to_string(*percentDone)})
                           : localized("Time Machine is backing up to this drive.");
    }
    const std::string_view tool = toolName(*backup.tool);
    return percentDone ? localizedFormat("%1 is backing up to this drive (%2% done).", {tool, std::to_string(*percentDone)})
                       : localizedFormat("%1 is backing up to this drive.", {tool});
}

std::string advice(const TimeMachineStatus& backup) {
    if (!backup.tool || backup.stoppable) return localized("Wait for the backup to finish, or stop it.");
    switch (*backup.tool) {
        case BackupTool::timeshift:
            return localized("Kestrix can\u2019t stop Timeshift. Wait for the snapshot to finish; where you started it "
                             "in a terminal, Ctrl+C stops it there.");
        case BackupTool::dejaDup:
            return localized("To stop it, click Cancel or Resume Later in D\u00e9j\u00e0 Dup\u2019s window, or wait for "
                             "it to finish.");
        case BackupTool::borg:
        case BackupTool::restic: break;
    }
    return localizedFormat("%1 runs as another user. To stop it, press Ctrl+C in the terminal that runs it, or wait "
                           "for it to finish.",
                           {toolName(*backup.tool)});
}

std::string stopping(const TimeMachineStatus& backup) {
    if (!backup.tool) return localized("Time Machine is stopping the backup. Try ejecting again in a moment.");
    return localizedFormat("%1 is stopping the backup. Try ejecting again in a moment.", {toolName(*backup.tool)});
}

std::string notStopped(const TimeMachineStatus& backup) {
    if (!backup.tool) {
        return localized("macOS didn\u2019t let Kestrix stop the backup. Stop it from the Time Machine menu, or wait for "
                         "it to finish.");
    }
    return localizedFormat("Kestrix couldn\u2019t stop %1. Press Ctrl+C in the terminal that runs it, or wait for it to "
                           "finish.",
                           {toolName(*backup.tool)});
}

std::string culpritName(const TimeMachineStatus& backup) {
    if (backup.tool) return std::string(toolName(*backup.tool));
    return HelperCatalog::label(HelperKind::timeMachine);
}

}  // namespace kestrix::BackupTexts

#include "KestrixKit/Backups/RunningBackups.h"

#include <algorithm>
#include <map>
#include <set>

#include "KestrixKit/Backups/BackupCommandLine.h"

namespace kestrix::RunningBackups {
namespace {

class ProcessTree {
public:
    explicit ProcessTree(const std::vector<BackupProcess>& processes) {
        for (const BackupProcess& process : processes) {
            children_[process.parentPID].push_back(process.pid);
            programs_[process.pid] = BackupCommandLine::programName(process.arguments);
        }
    }

    // The process and everything under it, the process first. A cycle in a stale table ends.
    std::vector<std::int32_t> withDescendants(std::int32_t pid) const {
        std::vector<std::int32_t> found{pid};
        std::set<std::int32_t> seen{pid};
        for (std::size_t index = 0; index < found.size(); ++index) {
            const auto children = children_.find(found[index]);
            if (children == children_.end()) continue;
            for (const std::int32_t child : children->second) {
                if (seen.insert(child).second) found.push_back(child);
            }
        }
        return found;
    }

    const std::string& program(std::int32_t pid) const { return programs_.at(pid); }

private:
    std::map<std::int32_t, std::vector<std::int32_t>> children_;
    std::map<std::int32_t, std::string> programs_;
};

// Whether the process runs this program, by its command line or, where that is empty, its name.
bool runs(const BackupProcess& process, const ProcessTree& tree, std::string_view program) {
    return tree.program(process.pid) == program || (process.arguments.empty() && process.name == program);
}

std::optional<RunningBackup> backupOf(const BackupProcess& process, const ProcessTree& tree, std::uint32_t currentUID) {
    if (runs(process, tree, "timeshift") && BackupCommandLine::isTimeshiftBackup(process.arguments)) {
        return RunningBackup{.tool = BackupTool::timeshift, .processes = tree.withDescendants(process.pid)};
    }
    if (runs(process, tree, "deja-dup")) {
        std::vector<std::int32_t> processes = tree.withDescendants(process.pid);
        const bool toolRuns = std::any_of(processes.begin() + 1, processes.end(), [&](std::int32_t pid) {
            const std::string& program = tree.program(pid);
            return program == "duplicity" || program == "restic" || program == "borg";
        });
        if (!toolRuns) return std::nullopt;
        return RunningBackup{.tool = BackupTool::dejaDup, .processes = std::move(processes)};
    }
    const bool borg = runs(process, tree, "borg");
    if (!borg && !runs(process, tree, "restic")) return std::nullopt;
    const auto repository = borg ? BackupCommandLine::borgRepository(process.arguments)
                                 : BackupCommandLine::resticRepository(process.arguments);
    if (!repository) return std::nullopt;
    auto folder = BackupCommandLine::localFolder(*repository, process.workingFolder);
    if (!folder) return std::nullopt;
    const BackupTool tool = borg ? BackupTool::borg : BackupTool::restic;
    return RunningBackup{.tool = tool,
                         .processes = tree.withDescendants(process.pid),
                         .repository = std::move(folder),
                         .stoppable = hasCleanStop(tool) && (currentUID == 0 || process.uid == currentUID)};
}

}  // namespace

std::vector<RunningBackup> find(const std::vector<BackupProcess>& processes, std::uint32_t currentUID) {
    const ProcessTree tree(processes);
    // Parents before what they start: the tools that run others come first (in pid order, as a
    // parent almost always has the lower pid), so a child is claimed by its parent's backup.
    std::vector<const BackupProcess*> ordered;
    for (const BackupProcess& process : processes) ordered.push_back(&process);
    const auto rank = [&](const BackupProcess* process) {
        return runs(*process, tree, "timeshift") || runs(*process, tree, "deja-dup") ? 0 : 1;
    };
    std::stable_sort(ordered.begin(), ordered.end(), [&](const BackupProcess* left, const BackupProcess* right) {
        return std::make_pair(rank(left), left->pid) < std::make_pair(rank(right), right->pid);
    });
    std::vector<RunningBackup> backups;
    std::set<std::int32_t> claimed;
    for (const BackupProcess* process : ordered) {
        if (claimed.contains(process->pid)) continue;
        std::optional<RunningBackup> backup = backupOf(*process, tree, currentUID);
        if (!backup) continue;
        claimed.insert(backup->processes.begin(), backup->processes.end());
        backups.push_back(std::move(*backup));
    }
    return backups;
}

}  // namespace kestrix::RunningBackups

#include "KestrixKit/Simulated/SimulatedQuitter.h"

#include "KestrixKit/Flow/RunningAppRule.h"
#include "KestrixKit/Holders/HolderScanner.h"

namespace kestrix {
namespace {

// The world's process with the pid, when it is the one with that start time.
bool isSameProcess(const WorldProcess* process, const ProcessIdentity& identity) {
    return process != nullptr && process->basics && identity.startTime &&
           process->basics->startTime == identity.startTime;
}

std::optional<std::string> bundleOf(const WorldProcess& process) {
    if (!process.basics || !process.basics->executablePath) return std::nullopt;
    return HolderScanner::outerApp(*process.basics->executablePath);
}

}  // namespace

std::vector<RunningApp> SimulatedQuitter::runningApps() const {
    std::vector<RunningApp> apps;
    for (const WorldProcess& process : system_->world().processes) {
        if (!process.app) continue;
        apps.push_back(RunningApp{.pid = process.pid,
                                  .localizedName = process.app->name,
                                  .bundlePath = bundleOf(process),
                                  .bundleID = process.app->bundleID,
                                  .isRegular = process.app->isRegular});
    }
    return apps;
}

bool SimulatedQuitter::quitApp(const Holder& holder) {
    // A holder whose pid another process has taken since is gone: there is nothing to ask.
    if (!isSameProcess(system_->process(holder.pid), holder.identity())) return false;
    const std::optional<RunningApp> app = RunningAppRule::runningApp(holder, runningApps());
    World& world = system_->world();
    // The program never quits itself.
    if (!app || app->pid == world.ownPID) return false;
    const WorldProcess* process = system_->process(app->pid);
    if (process == nullptr || process->onQuit == QuitResponse::refuses) return false;
    if (process->onQuit == QuitResponse::exits) {
        const pid_t appPID = app->pid;
        system_->removeProcesses([&](const WorldProcess& candidate) {
            return candidate.pid == appPID || (app->bundlePath && bundleOf(candidate) == app->bundlePath);
        });
    }
    return true;
}

void SimulatedQuitter::showApp(const Holder& /*holder*/) {}

bool SimulatedQuitter::endProcess(const ProcessIdentity& identity, EndSignal /*signal*/) {
    World& world = system_->world();
    const pid_t pid = identity.pid;
    if (pid < 2 || pid == world.ownPID) return false;
    const WorldProcess* process = system_->process(pid);
    if (!isSameProcess(process, identity) || process->onTerm == TermResponse::fails) return false;
    if (process->onTerm == TermResponse::exits) {
        system_->removeProcesses([&](const WorldProcess& candidate) { return candidate.pid == pid; });
    }
    return true;
}

bool SimulatedQuitter::isAlive(const ProcessIdentity& identity) {
    const WorldProcess* process = system_->process(identity.pid);
    if (process != nullptr && !process->basics) return !identity.startTime;  // nothing to tell it by
    return identity.pid >= 1 && isSameProcess(process, identity);
}

}  // namespace kestrix

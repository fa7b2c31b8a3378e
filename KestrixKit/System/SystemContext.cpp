#include "KestrixKit/System/SystemContext.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include <unistd.h>

#include "KestrixKit/Linux/Apps/DesktopAppLookup.h"
#include "KestrixKit/Linux/BlockDevices/DeviceIdentity.h"
#include "KestrixKit/Linux/Mounts/MountTableVolumeSource.h"
#include "KestrixKit/Linux/Backups/LinuxBackupReader.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Linux/Windows/DisplayConnections.h"
#include "KestrixKit/Linux/Windows/WindowOwners.h"
#include "KestrixKit/Linux/Ejecting/PageCacheFlusher.h"
#include "KestrixKit/Linux/Ejecting/UnmountEjector.h"
#include "KestrixKit/Linux/Kernel/LinuxKernelHolders.h"
#include "KestrixKit/Linux/Processes/ProcessExits.h"
#include "KestrixKit/Simulated/SimulatedEjector.h"
#include "KestrixKit/Simulated/SimulatedKernelHolders.h"
#include "KestrixKit/Simulated/SimulatedProcessSource.h"
#include "KestrixKit/Simulated/SimulatedQuitter.h"
#include "KestrixKit/Simulated/SimulatedSleep.h"
#include "KestrixKit/Simulated/SimulatedTimeMachineRunner.h"
#include "KestrixKit/Simulated/SimulatedVolumeSource.h"
#include "KestrixKit/TimeMachine/TimeMachine.h"
#include "KestrixKit/Linux/Processes/SignalQuitter.h"
#include "KestrixKit/System/TracingEjector.h"
#include "KestrixKit/System/TracingFunctions.h"
#include "KestrixKit/System/TracingQuitter.h"

namespace kestrix {
namespace {

// The eject side of a system, with every call traced when asked.
void attachEjection(SystemContext& context, std::shared_ptr<DiskEjecting> ejector,
                    std::shared_ptr<HolderQuitting> quitter, std::function<void(double)> sleep, const TraceSink& trace) {
    if (trace) {
        ejector = std::make_shared<TracingEjector>(std::move(ejector), trace);
        quitter = std::make_shared<TracingQuitter>(std::move(quitter), trace);
        sleep = tracingSleep(std::move(sleep), trace);
    }
    context.ejector = std::move(ejector);
    context.quitter = std::move(quitter);
    context.sleep = std::move(sleep);
}

void realSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

SystemContext simulatedContext(World world, const TraceSink& trace) {
    SystemContext context;
    context.simulated = std::make_shared<SimulatedSystem>(std::move(world));
    if (trace) context.simulated->setTrace(trace);
    context.volumes = std::make_unique<SimulatedVolumeSource>(context.simulated);
    auto processes = std::make_shared<SimulatedProcessSource>(context.simulated);
    context.appLookup = [processes](std::int32_t pid) { return processes->app(pid); };
    context.processes = std::move(processes);
    context.kernelHolders = std::make_shared<SimulatedKernelHolders>(context.simulated);
    context.currentUID = context.simulated->world().currentUID;
    context.ownPID = context.simulated->world().ownPID.value_or(-1);
    attachEjection(context, std::make_shared<SimulatedEjector>(context.simulated),
                   std::make_shared<SimulatedQuitter>(context.simulated), simulatedSleep, trace);
    TimeMachineRunner tmutil = simulatedTimeMachineRunner(context.simulated);
    // A world in Linux words stands for a Linux desktop, which has no such command to name.
    const bool linuxWords = context.simulated->world().words == Vocabulary::linuxSystem;
    if (trace) tmutil = tracingRunner(std::move(tmutil), trace, linuxWords ? "backups" : "tmutil");
    // A world may say which Linux tool its backup stands for.
    context.timeMachineStatus = [tmutil, simulated = context.simulated] {
        std::optional<TimeMachineStatus> status = TimeMachine::read(tmutil);
        const std::optional<WorldTimeMachine>& tool = simulated->world().timeMachine;
        if (status && tool && tool->tool) {
            status->tool = tool->tool;
            status->stoppable = hasCleanStop(*tool->tool);
        }
        return status;
    };
    context.stopBackup = [tmutil](const TimeMachineStatus&) { return TimeMachine::stopBackup(tmutil); };
    return context;
}

SystemContext realContext(const SystemChoice& choice) {
    SystemContext context;
    context.volumes = std::make_unique<MountTableVolumeSource>();
    context.volumeIdentity = currentVolumeIdentity;
    context.processes = std::make_shared<ProcfsSource>();
    context.currentUID = getuid();
    context.ownPID = getpid();
    // One command is one short run: each desktop entry it meets is read once. A window on the
    // display, or a connection to the display server, makes an app of its process however it
    // was started.
    const std::optional<std::string> x11Display = environmentDisplay();
    context.appLookup = desktopAppLookup(
        context.currentUID, {.windowOwners = x11Display ? x11WindowOwners(*x11Display) : WindowOwners{},
                             .connectedToDisplay = display::displayClients(processEnvironment)});
    if (choice.appReach) {
        context.appLookup = [lookup = std::move(context.appLookup), reach = choice.appReach](std::int32_t pid) {
            std::optional<AppIdentity> app = lookup(pid);
            if (app && app->isRegular) app->reach = reach(pid);
            return app;
        };
    }
    context.kernelHolders = std::make_shared<LinuxKernelHolders>(context.processes, context.appLookup);
    std::shared_ptr<DiskEjecting> ejector = choice.desktopEjector;
    if (!ejector) ejector = std::make_shared<UnmountEjector>();
    std::shared_ptr<HolderQuitting> quitter = choice.desktopQuitter;
    if (!quitter) quitter = std::make_shared<SignalQuitter>();
    attachEjection(context, std::move(ejector), std::move(quitter), realSleep, choice.trace);
    context.flusher = std::make_shared<PageCacheFlusher>();
    context.awaitExit = awaitProcessExits;
    if (choice.trace) context.awaitExit = tracingExitWait(std::move(context.awaitExit), choice.trace);
    // The Linux backup tools, read in place of a backup command; each read is traced.
    const char* home = std::getenv("HOME");
    auto backups = std::make_shared<const LinuxBackupReader>(
        context.currentUID, LinuxBackupPlaces{.home = home != nullptr ? home : ""}, choice.trace);
    context.backups = [backups] { return backups->running(); };
    context.stopBackup = [backups](const TimeMachineStatus& backup) { return backups->stop(backup); };
    return context;
}

}  // namespace

HolderScanner SystemContext::holderScanner() const {
    return HolderScanner{
        .source = processes, .ownPID = ownPID, .appLookup = appLookup, .clock = [] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        }, .kernel = kernelHolders};
}

std::variant<SystemContext, ContextError> makeSystemContext(const SystemChoice& choice) {
    if (choice.demo) return simulatedContext(demoWorld(), choice.trace);
    if (choice.worldPath) {
        WorldLoadResult loaded = loadWorld(*choice.worldPath);
        if (auto* error = std::get_if<WorldError>(&loaded)) return ContextError{error->message};
        return simulatedContext(std::get<World>(std::move(loaded)), choice.trace);
    }
    return realContext(choice);
}

}  // namespace kestrix

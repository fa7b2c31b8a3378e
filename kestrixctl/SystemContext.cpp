#include "kestrixctl/SystemContext.h"

#include <chrono>
#include <chrono>
#include <iostream>
#include <thread>

#include <unistd.h>

#include "KestrixKit/Linux/MountTableVolumeSource.h"
#include "KestrixKit/Linux/ProcessRunner.h"
#include "KestrixKit/Linux/ProcfsSource.h"
#include "KestrixKit/Linux/UnmountEjector.h"
#include "KestrixKit/Simulated/SimulatedEjector.h"
#include "KestrixKit/Simulated/SimulatedProcessSource.h"
#include "KestrixKit/Simulated/SimulatedQuitter.h"
#include "KestrixKit/Simulated/SimulatedSleep.h"
#include "KestrixKit/Simulated/SimulatedTimeMachineRunner.h"
#include "KestrixKit/Simulated/SimulatedVolumeSource.h"
#include "KestrixKit/TimeMachine/TimeMachine.h"
#include "TextSupport/VisibleText.h"
#include "kestrixctl/CommandLineQuitter.h"
#include "kestrixctl/TracingEjector.h"
#include "kestrixctl/TracingFunctions.h"
#include "kestrixctl/TracingQuitter.h"

namespace kestrixctl {
namespace {

// Traced calls carry names from the system, such as drive ids: shown, never run.
void traceToStandardError(const std::string& line) { std::cerr << textsupport::visibleText(line) << '\n'; }

// The eject side of a system, with every call traced when asked.
void attachEjection(SystemContext& context, std::shared_ptr<kestrix::DiskEjecting> ejector,
                    std::shared_ptr<kestrix::HolderQuitting> quitter, std::function<void(double)> sleep,
                    kestrix::TimeMachineRunner tmutil, bool trace) {
    if (trace) {
        ejector = std::make_shared<TracingEjector>(std::move(ejector), traceToStandardError);
        quitter = std::make_shared<TracingQuitter>(std::move(quitter), traceToStandardError);
        sleep = tracingSleep(std::move(sleep), traceToStandardError);
        tmutil = tracingRunner(std::move(tmutil), traceToStandardError);
    }
    context.ejector = std::move(ejector);
    context.quitter = std::move(quitter);
    context.sleep = std::move(sleep);
    context.timeMachineStatus = [tmutil] { return kestrix::TimeMachine::read(tmutil); };
    context.stopBackup = [tmutil] { return kestrix::TimeMachine::stopBackup(tmutil); };
}

void realSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

SystemContext simulatedContext(kestrix::World world, bool trace) {
    SystemContext context;
    context.simulated = std::make_shared<kestrix::SimulatedSystem>(std::move(world));
    if (trace) context.simulated->setTrace(traceToStandardError);
    context.volumes = std::make_unique<kestrix::SimulatedVolumeSource>(context.simulated);
    auto processes = std::make_shared<kestrix::SimulatedProcessSource>(context.simulated);
    context.appLookup = [processes](std::int32_t pid) { return processes->app(pid); };
    context.processes = std::move(processes);
    context.currentUID = context.simulated->world().currentUID;
    context.ownPID = context.simulated->world().ownPID.value_or(-1);
    attachEjection(context, std::make_shared<kestrix::SimulatedEjector>(context.simulated),
                   std::make_shared<kestrix::SimulatedQuitter>(context.simulated), kestrix::simulatedSleep,
                   kestrix::simulatedTimeMachineRunner(context.simulated), trace);
    return context;
}

SystemContext realContext(bool trace) {
    SystemContext context;
    context.volumes = std::make_unique<kestrix::MountTableVolumeSource>();
    context.processes = std::make_shared<kestrix::ProcfsSource>();
    context.currentUID = getuid();
    context.ownPID = getpid();
    attachEjection(context, std::make_shared<kestrix::UnmountEjector>(), std::make_shared<CommandLineQuitter>(),
                   realSleep, kestrix::ProcessRunner::timeMachineRunner(), trace);
    return context;
}

}  // namespace

kestrix::HolderScanner SystemContext::holderScanner() const {
    return kestrix::HolderScanner{
        .source = processes, .ownPID = ownPID, .appLookup = appLookup, .clock = [] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        }};
}

std::variant<SystemContext, ContextError> makeSystemContext(const GlobalOptions& options) {
    if (options.demo) return simulatedContext(kestrix::demoWorld(), options.trace);
    if (options.worldPath) {
        kestrix::WorldLoadResult loaded = kestrix::loadWorld(*options.worldPath);
        if (auto* error = std::get_if<kestrix::WorldError>(&loaded)) return ContextError{error->message};
        return simulatedContext(std::get<kestrix::World>(std::move(loaded)), options.trace);
    }
    return realContext(options.trace);
}

}  // namespace kestrixctl

#include "kestrixctl/SystemContext.h"

#include <chrono>
#include <iostream>

#include <unistd.h>

#include "KestrixKit/Linux/MountTableVolumeSource.h"
#include "KestrixKit/Linux/ProcfsSource.h"
#include "KestrixKit/Simulated/SimulatedProcessSource.h"
#include "KestrixKit/Simulated/SimulatedVolumeSource.h"

namespace kestrixctl {
namespace {

void traceToStandardError(const std::string& line) { std::cerr << line << '\n'; }

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
    return context;
}

SystemContext realContext() {
    SystemContext context;
    context.volumes = std::make_unique<kestrix::MountTableVolumeSource>();
    context.processes = std::make_shared<kestrix::ProcfsSource>();
    context.currentUID = getuid();
    context.ownPID = getpid();
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
    return realContext();
}

}  // namespace kestrixctl

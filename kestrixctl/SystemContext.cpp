#include "kestrixctl/SystemContext.h"

#include <iostream>

#include "KestrixKit/Linux/MountTableVolumeSource.h"
#include "KestrixKit/Simulated/SimulatedVolumeSource.h"

namespace kestrixctl {
namespace {

void traceToStandardError(const std::string& line) { std::cerr << line << '\n'; }

SystemContext simulatedContext(kestrix::World world, bool trace) {
    SystemContext context;
    context.simulated = std::make_shared<kestrix::SimulatedSystem>(std::move(world));
    if (trace) context.simulated->setTrace(traceToStandardError);
    context.volumes = std::make_unique<kestrix::SimulatedVolumeSource>(context.simulated);
    return context;
}

SystemContext realContext() {
    SystemContext context;
    context.volumes = std::make_unique<kestrix::MountTableVolumeSource>();
    return context;
}

}  // namespace

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

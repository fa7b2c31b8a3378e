#include "KestrixApp/Model/AppSystemFactory.h"

#include <iostream>
#include <memory>

#include "KestrixKit/Linux/HistoryFile.h"
#include "KestrixKit/Linux/RandomUuid.h"
#include "KestrixKit/Volumes/VolumeList.h"
#include "kestrixctl/HistoryRecording.h"
#include "kestrixctl/SystemContext.h"
#include "kestrixctl/SystemEjectFlow.h"

namespace kestrix {
namespace {

kestrixctl::GlobalOptions optionsOf(const AppSystemChoice& choice) {
    kestrixctl::GlobalOptions options;
    options.worldPath = choice.worldPath;
    options.demo = choice.demo;
    options.trace = choice.trace;
    options.historyPath = choice.historyPath;
    return options;
}

AppSystem appSystem(std::shared_ptr<kestrixctl::SystemContext> context, const AppSystemChoice& choice) {
    AppSystem system;
    system.flow = kestrixctl::ejectFlow(*context);
    system.listDrives = [context](VolumeFilter filter) { return VolumeList::drives(*context->volumes, filter); };
    system.stopBackup = [context] { return context->stopBackup().first; };
    if (!context->isSimulated()) return system;

    system.oneCallAtATime = true;
    if (choice.demo || !choice.worldPath) return system;
    system.worldFile = choice.worldPath;
    system.reloadWorld = [simulated = context->simulated, path = *choice.worldPath] {
        WorldLoadResult loaded = loadWorld(path);
        if (!std::holds_alternative<World>(loaded)) return false;
        simulated->world() = std::get<World>(std::move(loaded));
        return true;
    };
    return system;
}

HistoryStore historyStore(std::optional<std::string> path) {
    HistoryStore store;
    store.newEventId = randomUuid;
    if (!path) {
        store.load = [] { return History{}; };
        store.save = [](const History&) {};
        return store;
    }
    store.load = [path = *path] { return loadHistory(path); };
    store.save = [path = *path](const History& history) { saveHistory(history, path); };
    return store;
}

}  // namespace

std::variant<AppBackend, std::string> makeAppBackend(const AppSystemChoice& choice) {
    const kestrixctl::GlobalOptions options = optionsOf(choice);
    auto made = kestrixctl::makeSystemContext(options);
    if (auto* error = std::get_if<kestrixctl::ContextError>(&made)) return error->message;
    auto context = std::make_shared<kestrixctl::SystemContext>(std::get<kestrixctl::SystemContext>(std::move(made)));

    const kestrixctl::Invocation invocation{*context, options, std::cout, std::cerr};
    return AppBackend{.system = appSystem(context, choice), .history = historyStore(kestrixctl::historyPath(invocation))};
}

}  // namespace kestrix

#include "KestrixApp/Model/AppSystemFactory.h"

#include <iostream>
#include <memory>

#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "KestrixKit/Linux/Files/RandomUuid.h"
#include "KestrixKit/Volumes/VolumeList.h"
#include "TextSupport/VisibleText.h"
#include "KestrixKit/System/HistoryRecording.h"
#include "KestrixKit/System/SystemContext.h"
#include "KestrixKit/System/SystemEjectFlow.h"

namespace kestrix {
namespace {

SystemChoice systemChoiceOf(const AppSystemChoice& choice) {
    SystemChoice system{.worldPath = choice.worldPath, .demo = choice.demo,
                        .desktopEjector = choice.desktopEjector, .desktopQuitter = choice.desktopQuitter};
    if (choice.trace) system.trace = [](const std::string& line) { std::cerr << line << std::endl; };
    return system;
}

AppSystem appSystem(std::shared_ptr<SystemContext> context, const AppSystemChoice& choice) {
    AppSystem system;
    system.flow = ejectFlow(*context);
    system.listDrives = [context](VolumeFilter filter) { return VolumeList::drives(*context->volumes, filter); };
    system.stopBackup = [context](const TimeMachineStatus& backup) { return context->stopBackup(backup).first; };
    if (!context->isSimulated()) return system;

    system.oneCallAtATime = true;
    if (choice.demo || !choice.worldPath) return system;
    system.worldFile = choice.worldPath;
    system.reloadWorld = [simulated = context->simulated, path = *choice.worldPath] {
        WorldLoadResult loaded = loadWorld(path);
        if (!std::holds_alternative<World>(loaded)) return false;
        simulated->replaceWorld(std::get<World>(std::move(loaded)));
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
    store.load = [path = *path] {
        LoadedHistory loaded = loadHistory(path);
        // An unreadable file was kept aside; the app starts an empty history, as it always has.
        if (loaded.notice) std::cerr << "kestrix: " << textsupport::visibleText(*loaded.notice) << std::endl;
        return std::move(loaded.history);
    };
    // Under the file's lock, so that a save of kestrixctl never interleaves with the app's.
    store.save = [path = *path](const History& history) {
        updateHistory(path, [&](History& onDisk) {
            onDisk = history;
            return true;
        });
    };
    return store;
}

}  // namespace

std::variant<AppBackend, std::string> makeAppBackend(const AppSystemChoice& choice) {
    auto made = makeSystemContext(systemChoiceOf(choice));
    if (auto* error = std::get_if<ContextError>(&made)) return error->message;
    auto context = std::make_shared<SystemContext>(std::get<SystemContext>(std::move(made)));
    const bool simulated = context->isSimulated();
    return AppBackend{.system = appSystem(context, choice),
                      .history = historyStore(historyPath(choice.historyPath, simulated)),
                      .vocabulary = context->vocabulary()};
}

}  // namespace kestrix

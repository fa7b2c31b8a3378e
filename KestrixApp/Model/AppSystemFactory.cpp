#include "KestrixApp/Model/AppSystemFactory.h"

#include <chrono>
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
                        .desktopEjector = choice.desktopEjector, .desktopQuitter = choice.desktopQuitter,
                        .appReach = choice.appReach};
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

// How long a save waits for the history file's lock before it is tried again later: a save of
// kestrixctl holds it for milliseconds, so a longer hold is a program stuck with it.
constexpr std::chrono::seconds historyLockWait{2};

void reportNotice(const LoadedHistory& loaded) {
    // An unreadable file was kept aside; the history begins anew, as it always has.
    if (loaded.notice) std::cerr << "kestrix: " << textsupport::visibleText(*loaded.notice) << std::endl;
}

HistoryStore historyStore(std::optional<std::string> path) {
    HistoryStore store;
    store.newEventId = randomUuid;
    if (!path) {
        auto kept = std::make_shared<History>();
        store.load = [kept] { return *kept; };
        store.add = [kept](const std::vector<HistoryEvent>& events) -> std::optional<History> {
            for (auto event = events.rbegin(); event != events.rend(); ++event) kept->add(*event);
            return *kept;
        };
        store.clear = [kept] {
            kept->clear();
            return true;
        };
        return store;
    }
    store.file = path;
    store.load = [path = *path] {
        LoadedHistory loaded = loadHistory(path);
        reportNotice(loaded);
        return std::move(loaded.history);
    };
    // Each change is made to the file as it is, under its lock, as kestrixctl makes its own: the
    // events either of them adds are never lost.
    store.add = [path = *path](const std::vector<HistoryEvent>& events) -> std::optional<History> {
        const HistoryUpdate update = updateHistory(
            path,
            [&](History& onDisk) {
                for (auto event = events.rbegin(); event != events.rend(); ++event) onDisk.add(*event);
                return true;
            },
            historyLockWait);
        reportNotice(update.loaded);
        if (!update.locked || update.saveFailure) return std::nullopt;
        return update.loaded.history;
    };
    store.clear = [path = *path] {
        const HistoryUpdate update = updateHistory(
            path,
            [](History& onDisk) {
                onDisk.clear();
                return true;
            },
            historyLockWait);
        return update.locked && !update.saveFailure;
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

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/History/History.h"
#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Coding/Uuid.h"
#include "KestrixKit/TimeMachine/TimeMachineStatus.h"
#include "KestrixKit/Volumes/Drive.h"
#include "KestrixKit/Volumes/VolumeFilter.h"

namespace kestrix {

// The system the app acts on, this machine or a simulated world, as the model calls it. Every
// call may block and is made off the main thread.
struct AppSystem {
    std::function<std::vector<Drive>(VolumeFilter)> listDrives;
    EjectFlow flow;
    // Whether the backup tool stopped this running backup.
    std::function<bool(const TimeMachineStatus&)> stopBackup;
    // A simulated world is one mutable value: its calls must never overlap.
    bool oneCallAtATime = false;
    // The world file a simulated system was read from; editing it is the simulated mount event.
    std::optional<std::string> worldFile;
    // Reads the world file again; false (the old world kept) when it is no valid world.
    std::function<bool()> reloadWorld;
};

// Where the eject history is kept: a file that kestrixctl adds to as well, or memory only.
// add and clear may wait for the file's lock (a bounded wait): call them off the main thread.
struct HistoryStore {
    std::function<History()> load;
    // Adds the events (newest first) to the history where it is kept, above whatever others
    // added there meanwhile, and gives that history; absent when they could not be saved (the
    // lock stayed taken through the wait, or the write failed): nothing changed, try again later.
    std::function<std::optional<History>(const std::vector<HistoryEvent>& events)> add;
    // Empties the history where it is kept; false when that could not be done.
    std::function<bool()> clear;
    // The file others add events to, to be watched; absent for a history kept in memory.
    std::optional<std::string> file;
    std::function<Uuid()> newEventId;
};

}  // namespace kestrix

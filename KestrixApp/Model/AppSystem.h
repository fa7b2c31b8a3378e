#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Flow/EjectFlow.h"
#include "KestrixKit/History/History.h"
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

// Where the eject history is kept: a file, or memory only.
struct HistoryStore {
    std::function<History()> load;
    // A failed save leaves the file as it was; the history in memory stays right.
    std::function<void(const History&)> save;
    std::function<Uuid()> newEventId;
};

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "KestrixKit/Ejection/FileSystemFlushing.h"
#include "KestrixKit/Flow/HolderQuitting.h"
#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/HolderScanner.h"
#include "KestrixKit/Holders/KernelHolderSource.h"
#include "KestrixKit/Holders/ProcessSource.h"
#include "KestrixKit/Simulated/SimulatedSystem.h"
#include "KestrixKit/Text/Vocabulary.h"
#include "KestrixKit/TimeMachine/TimeMachineStatus.h"
#include "KestrixKit/Volumes/DriveIdentity.h"
#include "KestrixKit/Volumes/MountedVolumeSource.h"
#include "KestrixKit/System/SystemChoice.h"

namespace kestrix {

// The system a command runs on: this machine, or a simulated one from a world file or the demo.
struct SystemContext {
    std::unique_ptr<MountedVolumeSource> volumes;
    // A listed volume's identity now, to tell a drive from a later one under the same name;
    // empty where the system cannot tell.
    VolumeIdentityReader volumeIdentity;
    std::shared_ptr<const ProcessSource> processes;
    // Identifies running applications: by their desktop entries on this machine, as the world
    // says in a simulation.
    std::function<std::optional<AppIdentity>(std::int32_t)> appLookup;
    // What the kernel keeps a drive busy with.
    std::shared_ptr<const KernelHolderSource> kernelHolders;
    // The user running the command, and the command's own process (never reported as a holder).
    std::uint32_t currentUID = 0;
    std::int32_t ownPID = -1;
    // Ejecting, quitting holders, waiting and the backup tool; each call is traced under --trace.
    std::shared_ptr<DiskEjecting> ejector;
    std::shared_ptr<HolderQuitting> quitter;
    std::function<void(double seconds)> sleep;
    // This machine's: writing out a drive's cached data before its eject, and waiting for
    // processes to exit the moment they do. Empty on a simulated system, whose time is simulated.
    std::shared_ptr<FileSystemFlushing> flusher;
    std::function<void(const std::vector<ProcessIdentity>& processes, double limitSeconds)> awaitExit;
    // The current backup status, absent when the backup tool cannot be run (a simulated system).
    std::function<std::optional<TimeMachineStatus>()> timeMachineStatus;
    // Every backup running now (this machine, where several tools may run at once).
    std::function<std::vector<TimeMachineStatus>()> backups;
    // Whether this running backup was stopped, and the tool's message.
    std::function<std::pair<bool, std::string>(const TimeMachineStatus&)> stopBackup;
    // Present when the system is simulated.
    std::shared_ptr<SimulatedSystem> simulated;

    bool isSimulated() const { return simulated != nullptr; }
    // A simulated system speaks the words its world chooses (the base texts' unless it asks for
    // Linux); this machine, its own.
    kestrix::Vocabulary vocabulary() const {
        return isSimulated() ? simulated->world().words : kestrix::Vocabulary::linuxSystem;
    }
    // A holder scanner over this system's processes, timed by the monotonic clock.
    HolderScanner holderScanner() const;
};

struct ContextError {
    std::string message;
};

std::variant<SystemContext, ContextError> makeSystemContext(const SystemChoice& choice);

}  // namespace kestrix

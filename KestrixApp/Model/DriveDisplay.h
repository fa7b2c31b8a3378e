#pragma once

#include <variant>

#include "KestrixApp/Model/Busy.h"
#include "KestrixApp/Model/DriveState.h"
#include "KestrixKit/Flow/DriveVerdict.h"

namespace kestrix {

// What a drive card shows for a drive's state.
struct DriveDisplay {
    using InUse = DriveVerdict::InUse;
    using HeldByMacOS = DriveVerdict::HeldByMacOS;
    using WaitingOnApps = DriveVerdict::WaitingOnApps;
    using Backup = DriveVerdict::BackupRunning;
    using Failed = DriveVerdict::Failed;
    using Detached = DriveVerdict::Detached;
    struct Ready {
        bool operator==(const Ready&) const = default;
    };

    std::variant<Busy, InUse, HeldByMacOS, WaitingOnApps, Backup, Failed, Ready, Detached> value;

    template <typename Case>
    bool is() const { return std::holds_alternative<Case>(value); }
    template <typename Case>
    const Case* as() const { return std::get_if<Case>(&value); }

    // Neither busy nor ready: the drive needs the user.
    bool needsAttention() const { return !is<Busy>() && !is<Ready>(); }

    bool operator==(const DriveDisplay&) const = default;
};

// The busy phase, else a failed report's verdict, else the holders of the last scan, else ready.
// A drive checked again keeps its previous scan on screen while the check runs.
DriveDisplay display(const DriveState& state);

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "KestrixKit/Flow/ScanSummary.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/TimeMachine/TimeMachineStatus.h"

namespace kestrix {

// How one eject or check of a drive ended.
struct DriveVerdict {
    // The user's processes, or the kernel, hold the drive; nothing was ejected.
    struct InUse {
        std::vector<Holder> holders;
        ScanSummary summary;
        std::vector<KernelHolder> kernelHolders;
        bool operator==(const InUse&) const = default;
    };
    // The system refused as busy and no process of the user holds the drive.
    struct HeldByMacOS {
        std::optional<Holder> holder;
        ScanSummary summary;
        bool operator==(const HeldByMacOS&) const = default;
    };
    // These holders still ran when the quit wait ended.
    struct WaitingOnApps {
        std::vector<Holder> holders;
        bool operator==(const WaitingOnApps&) const = default;
    };
    struct BackupRunning {
        TimeMachineStatus status;
        bool operator==(const BackupRunning&) const = default;
    };
    struct Failed {
        std::int32_t status = 0;
        std::optional<std::string> message;
        bool operator==(const Failed&) const = default;
    };
    struct Ejected {
        bool operator==(const Ejected&) const = default;
    };
    struct UnmountedOnly {
        bool operator==(const UnmountedOnly&) const = default;
    };

    // Unmounted, but a file system lives on until these let go of it: the device is left alone,
    // and it is safe to unplug only once it is released.
    struct Detached {
        std::vector<Holder> holders;
        std::vector<KernelHolder> kernelHolders;
        bool operator==(const Detached&) const = default;
    };

    std::variant<InUse, HeldByMacOS, WaitingOnApps, BackupRunning, Failed, Ejected, UnmountedOnly, Detached> value;

    template <typename Case>
    bool is() const { return std::holds_alternative<Case>(value); }
    template <typename Case>
    const Case* as() const { return std::get_if<Case>(&value); }

    // Ejected or unmounted.
    bool isDone() const { return is<Ejected>() || is<UnmountedOnly>(); }
    // The holders the verdict names.
    std::vector<Holder> holders() const;
    // What the kernel holds the drive with, as the verdict names it.
    std::vector<KernelHolder> kernelHolders() const;
    // The case's name: "inUse", "heldByMacOS", …
    std::string_view caseName() const;

    bool operator==(const DriveVerdict&) const = default;
};

}  // namespace kestrix

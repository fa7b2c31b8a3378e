#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolderSource.h"
#include "KestrixKit/Holders/MountNamespaces.h"
#include "KestrixKit/Holders/ProcessSource.h"
#include "KestrixKit/Holders/ScanResult.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// Finds the processes that keep a drive busy: open files, working folders, executables and,
// in a deep scan, mapped files on one of the drive's volumes. Copyable; holds no mutable state.
struct HolderScanner {
    std::shared_ptr<const ProcessSource> source;
    // This program's own process, never reported.
    std::int32_t ownPID = -1;
    // Identifies running applications; may be empty (no process is an app then).
    std::function<std::optional<AppIdentity>(std::int32_t pid)> appLookup;
    // Seconds on a monotonic clock, for the scan's duration; empty gives a duration of 0.
    std::function<double()> clock;
    // What the kernel keeps a drive busy with; may be empty (nothing is then looked for).
    std::shared_ptr<const KernelHolderSource> kernel;

    // The processes, and what the kernel holds the drive with.
    ScanResult scan(const Drive& drive, bool deep) const;
    // The processes only.
    ScanResult scan(const std::set<std::uint32_t>& devices, const std::vector<std::string>& mountPaths,
                    bool deep) const;

    // What keeps the drive's file systems alive once they are unmounted here: every reference on
    // one of its devices, mapped files included, wherever it was opened, and what the kernel
    // holds them with. Only valid while the file systems live on, so that no other file system
    // has taken their device numbers.
    ScanResult scanFileSystems(const Drive& drive) const;

    // The process the system named as refusing an eject, shown like a scanned holder.
    std::optional<Holder> holderForDissenter(std::int32_t pid) const;

    // Whether the path is one of the mount paths or lies below one (case-sensitive).
    static bool isUnder(std::string_view path, const std::vector<std::string>& mountPaths);
    // The outermost .app bundle containing the executable.
    static std::optional<std::string> outerApp(std::string_view executablePath);

private:
    // The processes, and the mount namespaces they run in when the kernel's holders are looked
    // for (absent when none was met).
    ScanResult scanScope(const DriveScope& scope, bool deep, std::optional<MountNamespaces>* namespaces) const;
    // The part of the drive still mounted (see scan).
    ScanResult scanMounted(const DriveScope& drive, bool deep, std::optional<MountNamespaces>* namespaces) const;
    // The kernel's holders, their hidden namespaces counted with the hidden processes.
    void addKernelHolders(const Drive& drive, const std::optional<MountNamespaces>& namespaces,
                          ScanResult& result) const;
    Holder makeHolder(std::int32_t pid, const std::optional<ProcessBasics>& basics, std::vector<Hold> holds,
                      bool namedByMacOS) const;
};

}  // namespace kestrix

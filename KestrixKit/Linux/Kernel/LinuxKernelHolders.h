#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/KernelHolderSource.h"
#include "KestrixKit/Holders/ProcessSource.h"
#include "KestrixKit/Linux/Mounts/MountEntry.h"

namespace kestrix {

// What the kernel keeps a drive busy with on this machine: loop devices attached to files on it
// (sysfs), swap areas on it (/proc/swaps), another drive mounted inside it and mounts of it in
// other mount namespaces (mountinfo, one read per namespace), and devices stacked on its disk
// (sysfs holders). Reads only what an ordinary user may read.
class LinuxKernelHolders : public KernelHolderSource {
public:
    struct Paths {
        std::filesystem::path sysfsRoot = "/sys";
        std::string procRoot = "/proc";
    };

    // processes and appLookup name the owner of another mount namespace as a holder is named.
    LinuxKernelHolders(std::shared_ptr<const ProcessSource> processes,
                       std::function<std::optional<AppIdentity>(std::int32_t)> appLookup);
    // Where the system's tables are; a test lays out its own.
    LinuxKernelHolders(std::shared_ptr<const ProcessSource> processes,
                       std::function<std::optional<AppIdentity>(std::int32_t)> appLookup, Paths paths);

    KernelScan holders(const Drive& drive, const std::optional<MountNamespaces>& namespaces) const override;

private:
    void addDiskImages(const Drive& drive, const std::vector<MountEntry>& mounts, std::vector<KernelHolder>& found) const;
    void addSwapAreas(const Drive& drive, std::vector<KernelHolder>& found) const;
    // Returns how many namespaces were closed to the look.
    int addNamespaces(const Drive& drive, const std::vector<MountEntry>& mounts,
                      const std::optional<MountNamespaces>& namespaces, std::vector<KernelHolder>& found) const;
    void addStackedDevices(const Drive& drive, std::vector<KernelHolder>& found) const;
    KernelHolder namespaceOwner(std::int32_t pid) const;

    std::shared_ptr<const ProcessSource> processes_;
    std::function<std::optional<AppIdentity>(std::int32_t)> appLookup_;
    Paths paths_;
};

}  // namespace kestrix

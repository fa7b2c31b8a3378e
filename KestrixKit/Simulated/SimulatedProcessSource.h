#pragma once

#include <memory>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/ProcessSource.h"
#include "KestrixKit/Simulated/SimulatedSystem.h"

namespace kestrix {

// The world's processes as they stand, read from the system's current world on every call so
// that processes that quit or were ended disappear.
class SimulatedProcessSource : public ProcessSource {
public:
    explicit SimulatedProcessSource(std::shared_ptr<const SimulatedSystem> system) : system_(std::move(system)) {}

    std::vector<std::int32_t> allPIDs() const override;
    std::optional<ProcessBasics> basics(std::int32_t pid) const override;
    std::optional<std::vector<VnodeRef>> openFiles(std::int32_t pid) const override;
    std::optional<VnodeRef> currentFolder(std::int32_t pid) const override;
    std::optional<std::vector<VnodeRef>> mappedFiles(std::int32_t pid) const override;

    // The world's app identity lookup.
    std::optional<AppIdentity> app(std::int32_t pid) const;

private:
    std::shared_ptr<const SimulatedSystem> system_;
};

}  // namespace kestrix

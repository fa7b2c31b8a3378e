#pragma once

#include <memory>
#include <vector>

#include "KestrixKit/Flow/HolderQuitting.h"
#include "KestrixKit/Flow/RunningApp.h"
#include "KestrixKit/Simulated/SimulatedSystem.h"

namespace kestrix {

// Quits and ends the world's processes as their "onQuit" and "onTerm" say. The running apps are
// the processes with an app, bundled where their executable lies; an app that exits takes the
// processes inside its bundle with it.
class SimulatedQuitter : public HolderQuitting {
public:
    explicit SimulatedQuitter(std::shared_ptr<SimulatedSystem> system) : system_(std::move(system)) {}

    bool quitApp(const Holder& holder) override;
    void showApp(const Holder& holder) override;
    bool endProcess(const ProcessIdentity& process, EndSignal signal) override;
    bool isAlive(const ProcessIdentity& process) override;

    std::vector<RunningApp> runningApps() const;

private:
    std::shared_ptr<SimulatedSystem> system_;
};

}  // namespace kestrix

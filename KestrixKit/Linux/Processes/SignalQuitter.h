#pragma once

#include "KestrixKit/Flow/HolderQuitting.h"

namespace kestrix {

// The quitter of the command line on this machine. Without a desktop session to talk to it
// cannot ask apps to quit or bring them forward; it ends processes with SIGTERM only.
class SignalQuitter : public HolderQuitting {
public:
    bool quitApp(const Holder& holder) override;
    void showApp(const Holder& holder) override;
    bool endProcess(const ProcessIdentity& process, EndSignal signal) override;
    bool isAlive(const ProcessIdentity& process) override;
};

}  // namespace kestrix

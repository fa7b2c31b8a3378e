#pragma once

#include "KestrixKit/Flow/HolderQuitting.h"

namespace kestrixctl {

// The quitter of the command line on this machine. Without a desktop session to talk to it
// cannot ask apps to quit or bring them forward; it ends processes with SIGTERM only.
class CommandLineQuitter : public kestrix::HolderQuitting {
public:
    bool quitApp(const kestrix::Holder& holder) override;
    void showApp(const kestrix::Holder& holder) override;
    bool endProcess(pid_t pid) override;
    bool isAlive(pid_t pid) override;
};

}  // namespace kestrixctl

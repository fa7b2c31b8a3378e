#pragma once

#include <sys/types.h>

#include "KestrixKit/Holders/Holder.h"

namespace kestrix {

// How the eject flow asks apps to quit, brings them forward and ends command-line programs.
class HolderQuitting {
public:
    virtual ~HolderQuitting() = default;
    // True when a quit request reached the holder's app.
    virtual bool quitApp(const Holder& holder) = 0;
    virtual void showApp(const Holder& holder) = 0;
    // True when the termination signal was delivered.
    virtual bool endProcess(pid_t pid) = 0;
    virtual bool isAlive(pid_t pid) = 0;
};

}  // namespace kestrix

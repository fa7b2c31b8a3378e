#pragma once

#include "KestrixKit/Holders/EndSignal.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/ProcessIdentity.h"

namespace kestrix {

// How the eject flow asks apps to quit, brings them forward and ends command-line programs.
// Every operation acts on the process a scan saw: a pid that another process has taken since is
// that of a process that is gone, and is never signalled, polled as alive or asked to quit.
class HolderQuitting {
public:
    virtual ~HolderQuitting() = default;
    // True when a quit request reached the holder's app.
    virtual bool quitApp(const Holder& holder) = 0;
    virtual void showApp(const Holder& holder) = 0;
    // True when the signal was delivered to that very process.
    virtual bool endProcess(const ProcessIdentity& process, EndSignal signal) = 0;
    // Whether that very process still runs.
    virtual bool isAlive(const ProcessIdentity& process) = 0;
};

}  // namespace kestrix

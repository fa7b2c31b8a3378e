#pragma once

#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Flow/EjectFlow.h"
#include "kestrixctl/Invocation.h"

namespace kestrixctl {

// Watches a drive that was left detached until its file systems are released, then ejects it;
// any other report comes back as it is. Without --json, the detached sentence is shown each time
// what keeps the drive alive changes, so that the user knows what to close.
kestrix::DriveReport watchUntilReleased(const Invocation& invocation, const kestrix::EjectFlow& flow,
                                        kestrix::DriveReport report, bool json);

}  // namespace kestrixctl

#pragma once

#include <ostream>

#include "KestrixKit/Flow/EjectFlow.h"

namespace kestrixctl {

// Shows a slow flush on the terminal: one line on standard error, written over as the amount
// left changes and cleared when the writing is done. Nothing with --json, or where standard
// error is no terminal, as a script reads only the result.
void showFlushOnTerminal(kestrix::EjectFlow& flow, std::ostream& err, bool json);

}  // namespace kestrixctl

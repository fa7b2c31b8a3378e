#include "kestrixctl/FlushLine.h"

#include <unistd.h>

#include "KestrixKit/Ejection/FlushText.h"
#include "TextSupport/VisibleText.h"

namespace kestrixctl {
namespace {

// Back to the start of the line, and everything after the cursor erased.
constexpr const char* startOfLine = "\r";
constexpr const char* eraseRest = "\x1b[K";

}  // namespace

void showFlushOnTerminal(kestrix::EjectFlow& flow, std::ostream& err, bool json) {
    if (json || isatty(STDERR_FILENO) == 0) return;
    flow.flushShown = [&err](const kestrix::Drive& drive, const kestrix::FlushProgress& progress) {
        err << startOfLine;
        if (progress.bytesLeft > 0) {
            err << textsupport::visibleText(kestrix::flushMessage(drive.name(), progress));
        }
        err << eraseRest << std::flush;
    };
}

}  // namespace kestrixctl

#include "KestrixKit/Ejection/FlushText.h"

#include <algorithm>
#include <cmath>

#include "KestrixKit/Text/ByteCountFormat.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix {
namespace {

// Seconds read well up to a minute and a half; after that, whole minutes.
constexpr double secondsShownUpTo = 90;

}  // namespace

std::string flushMessage(const std::string& driveName, const FlushProgress& progress) {
    const std::string amount = formatByteCount(progress.bytesLeft);
    if (!progress.secondsLeft || !std::isfinite(*progress.secondsLeft)) {
        return localizedFormat("Writing %1 to %2… Don’t unplug it yet.", {amount, driveName});
    }
    const double seconds = std::max(1.0, std::ceil(*progress.secondsLeft));
    if (seconds <= secondsShownUpTo) {
        return localizedFormat("Writing %1 to %2… Don’t unplug it yet (about %3 s left).",
                               {amount, driveName, std::to_string(static_cast<long long>(seconds))});
    }
    // Beyond what a double holds as a count of minutes, the wait is endless for the user anyway.
    const double minutes = std::min(std::ceil(seconds / 60), 1e9);
    return localizedFormat("Writing %1 to %2… Don’t unplug it yet (about %3 min left).",
                           {amount, driveName, std::to_string(static_cast<long long>(minutes))});
}

}  // namespace kestrix

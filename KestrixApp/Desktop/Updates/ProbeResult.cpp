#include "KestrixApp/Desktop/Updates/ProbeResult.h"

namespace kestrix::desktop {

ProbeResult probeResult(std::optional<int> httpStatus) {
    if (!httpStatus) return ProbeResult::unreachable;
    const int status = *httpStatus;
    if (status >= 200 && status <= 299) return ProbeResult::reachable;
    if (status == 404 || status == 410) return ProbeResult::noFeed;
    if (status == 405 || status == 501) return ProbeResult::reachable;
    return ProbeResult::unreachable;
}

}  // namespace kestrix::desktop

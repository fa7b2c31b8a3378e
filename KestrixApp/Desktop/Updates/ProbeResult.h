#pragma once

#include <optional>

namespace kestrix::desktop {

// What a HEAD request learns about the update feed.
enum class ProbeResult { reachable, noFeed, unreachable };

// httpStatus: nothing when the request failed on the way or the answer was not HTTP.
// A feed that is gone (404, 410) means there is nothing newer to offer; a server that refuses
// HEAD (405, 501) is still there.
ProbeResult probeResult(std::optional<int> httpStatus);

}  // namespace kestrix::desktop

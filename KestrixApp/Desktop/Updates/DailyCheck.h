#pragma once

#include <QDateTime>
#include <chrono>
#include <optional>

namespace kestrix::desktop {

inline constexpr std::chrono::hours updateCheckInterval{24};

// How long until the next daily update check: what is left of a day since the last one, now
// when there was none or it is a day old. A last check "in the future" (the clock was set back)
// waits at most a day, never longer.
std::chrono::milliseconds delayUntilNextCheck(const std::optional<QDateTime>& lastCheck, const QDateTime& now);

}  // namespace kestrix::desktop

#include "KestrixApp/Desktop/Updates/DailyCheck.h"

#include <algorithm>

namespace kestrix::desktop {

std::chrono::milliseconds delayUntilNextCheck(const std::optional<QDateTime>& lastCheck, const QDateTime& now) {
    const std::chrono::milliseconds interval = updateCheckInterval;
    if (!lastCheck || !lastCheck->isValid()) return std::chrono::milliseconds(0);
    const std::chrono::milliseconds since(lastCheck->msecsTo(now));
    return std::clamp(interval - since, std::chrono::milliseconds(0), interval);
}

}  // namespace kestrix::desktop

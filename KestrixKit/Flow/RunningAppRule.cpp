#include "KestrixKit/Flow/RunningAppRule.h"

#include <algorithm>

namespace kestrix::RunningAppRule {

std::optional<RunningApp> runningApp(const Holder& holder, const std::vector<RunningApp>& runningApps) {
    const auto own = std::find_if(runningApps.begin(), runningApps.end(),
                                  [&](const RunningApp& app) { return app.pid == holder.pid; });
    if (own != runningApps.end() && own->isRegular) return *own;
    if (!holder.appBundlePath) return std::nullopt;
    const auto enclosing = std::find_if(runningApps.begin(), runningApps.end(), [&](const RunningApp& app) {
        return app.isRegular && app.bundlePath == holder.appBundlePath;
    });
    if (enclosing == runningApps.end()) return std::nullopt;
    return *enclosing;
}

}  // namespace kestrix::RunningAppRule

#include "KestrixKit/Flow/AppIdentityRule.h"

#include <algorithm>
#include <string_view>

namespace kestrix::AppIdentityRule {
namespace {

std::string bundleFileStem(std::string_view path) {
    while (path.size() > 1 && path.ends_with('/')) path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    if (slash != std::string_view::npos && path.size() > 1) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

}  // namespace

std::optional<AppIdentity> appIdentity(std::int32_t pid, const std::vector<RunningApp>& runningApps) {
    if (pid <= 0) return std::nullopt;
    const auto app = std::find_if(runningApps.begin(), runningApps.end(),
                                  [&](const RunningApp& candidate) { return candidate.pid == pid; });
    if (app == runningApps.end()) return std::nullopt;
    std::string name;
    if (app->localizedName) {
        name = *app->localizedName;
    } else if (app->bundlePath) {
        name = bundleFileStem(*app->bundlePath);
    }
    return AppIdentity{.name = std::move(name), .bundleID = app->bundleID, .isRegular = app->isRegular};
}

}  // namespace kestrix::AppIdentityRule

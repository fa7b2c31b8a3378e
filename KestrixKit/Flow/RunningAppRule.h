#pragma once

#include <optional>
#include <vector>

#include "KestrixKit/Flow/RunningApp.h"
#include "KestrixKit/Holders/Holder.h"

namespace kestrix::RunningAppRule {

// The regular app that stands for a holder: the holder's own process when it is a regular app,
// else the first regular app, in the desktop's order, whose bundle is exactly the holder's
// enclosing app bundle. That way a helper process inside an app is handled through its app.
std::optional<RunningApp> runningApp(const Holder& holder, const std::vector<RunningApp>& runningApps);

}  // namespace kestrix::RunningAppRule

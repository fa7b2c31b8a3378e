#pragma once

#include <functional>
#include <ostream>

#include <QDBusConnection>

#include "KestrixApp/Shell/ActionStatus.h"
#include "KestrixApp/Shell/ShellOptions.h"

namespace kestrix::shell {

// Runs `kestrix --action ...` against the running app over the session bus and prints the
// sentence it answers. Where no app answers, waits for one (the bus may be starting it) at most
// 40 times a tenth of a second. No app or no such drive prints the reason on err.
ActionStatus runAction(const ShellAction& action, QDBusConnection bus, std::ostream& out, std::ostream& err,
                       const std::function<void(double seconds)>& sleep);

}  // namespace kestrix::shell

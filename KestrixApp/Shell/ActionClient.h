#pragma once

#include <functional>
#include <ostream>

#include <QDBusConnection>

#include "KestrixApp/Shell/ShellOptions.h"

namespace kestrix::shell {

// Runs `kestrix --action ...` against the running app over the session bus: waits for it (the
// bus may be starting it) at most 40 times a tenth of a second, then asks it and prints the
// sentence it answers. A failed eject is still an answer (status 0); no app or no such drive
// prints the reason on err (status 1).
int runAction(const ShellAction& action, QDBusConnection bus, std::ostream& out, std::ostream& err,
              const std::function<void(double seconds)>& sleep);

}  // namespace kestrix::shell

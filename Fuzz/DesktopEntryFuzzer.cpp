// Any text as a desktop entry, a sandbox's info file, a process environment or a cgroup name:
// the readers of what the desktop leaves with an app read it without fault, and what they
// find is never empty.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "KestrixKit/Linux/Apps/AppCgroup.h"
#include "KestrixKit/Linux/Apps/DesktopEntry.h"
#include "KestrixKit/Linux/Apps/KeyFile.h"
#include "KestrixKit/Linux/Apps/LaunchEnvironment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrix;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto entry = parseDesktopEntry(text, {"de_CH@euro", "de_CH", "de"})) {
        if (entry->name.empty() || (entry->program && entry->program->empty())) std::abort();
    }
    if (keyfile::unescaped(text).size() > text.size()) std::abort();
    std::size_t argumentBytes = 0;
    for (const std::string& argument : execArguments(text)) argumentBytes += argument.size();
    if (argumentBytes > text.size()) std::abort();
    if (const auto id = flatpakAppID(text); id && id->empty()) std::abort();
    if (const auto launch = parseDesktopLaunch(text); launch && (launch->pid <= 0 || launch->desktopFile.empty())) {
        std::abort();
    }
    if (const auto path = appcgroup::unifiedPath(text)) {
        if (const auto unit = appcgroup::appUnit(*path); unit && unit->desktopIDs.empty()) std::abort();
    }
    for (const std::string& id : appcgroup::desktopIDs(text)) {
        if (id.empty()) std::abort();
    }
    if (const auto pid = appcgroup::lowestPID(text); pid && *pid <= 0) std::abort();
    return 0;
}

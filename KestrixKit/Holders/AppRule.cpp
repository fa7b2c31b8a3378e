#include "KestrixKit/Holders/AppRule.h"

#include <cctype>

#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HelperKind.h"
#include "KestrixKit/Text/PlainText.h"
#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix::AppRule {
namespace {

// Without their version ("python3.11" is "python"), so that every version counts.
constexpr std::string_view interpreters[]{
    "python", "pypy", "perl", "ruby", "node", "nodejs", "deno", "bun", "java", "lua", "luajit", "php",
    "tclsh", "wish", "gjs", "cjs", "mono", "dotnet", "guile", "rscript", "julia", "electron", "env"};

std::string unversioned(std::string_view name) {
    while (!name.empty() && (std::isdigit(static_cast<unsigned char>(name.back())) || name.back() == '.' ||
                             name.back() == '-' || name.back() == '_')) {
        name.remove_suffix(1);
    }
    return std::string(name);
}

}  // namespace

bool isInterpreterOrShell(std::string_view program) {
    const std::string name = text::lowercased(text::lastPathComponent(program));
    if (name.empty()) return true;
    if (HelperCatalog::kind(name, std::nullopt, false, 1) == HelperKind::shell) return true;
    const std::string bare = unversioned(name);
    for (const std::string_view interpreter : interpreters) {
        if (bare == interpreter) return true;
    }
    return false;
}

std::optional<AppIdentity> identify(const AppClues& clues) {
    if (clues.startedAs && clues.startedAs->isRegular) return clues.startedAs;
    if (clues.runsProgramOf && clues.runsProgramOf->isRegular) return clues.runsProgramOf;
    // A window of its own, a connection to the display, or a launch of its own makes an app even
    // of a process no entry names.
    if (clues.ownsWindow || clues.connectedToDisplay || clues.launched) {
        if (clues.runsProgramOf) {
            AppIdentity app = *clues.runsProgramOf;
            app.isRegular = true;
            return app;
        }
        return AppIdentity{.name = clues.processName, .isRegular = true};
    }
    // A helper of the app it was started within, unless it is a command typed in that app's
    // terminal; else of the app whose program it runs.
    if (clues.startedAs && !clues.startedByShell) return clues.startedAs;
    return clues.runsProgramOf;
}

}  // namespace kestrix::AppRule

#include "KestrixKit/Holders/HolderPolicy.h"

#include <array>
#include <set>
#include <string>
#include <string_view>

#include "KestrixKit/Holders/DisplayName.h"
#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix::HolderPolicy {
namespace {

// The desktop's own processes, the kernel, launchd and this application ("kestrix").
const std::set<std::string, std::less<>>& protectedNames() {
    static const std::set<std::string, std::less<>> names{
        "finder", "dock", "systemuiserver", "windowserver", "loginwindow", "controlcenter", "notificationcenter",
        "launchd", "kernel_task", "spotlight", "kestrix", "coreservicesuiagent", "universalcontrol", "talagent"};
    return names;
}

constexpr std::array<std::string_view, 7> systemPathPrefixes{
    "/System/Library/", "/usr/libexec/", "/usr/sbin/", "/sbin/", "/Library/Apple/", "/System/iOSSupport/",
    "/System/Cryptexes/"};

bool isProtectedName(std::string_view name) { return protectedNames().contains(text::lowercased(name)); }

bool isRegularApp(const Holder& holder) { return holder.app && holder.app->isRegular; }

}  // namespace

bool isProtected(const Holder& holder, std::uint32_t currentUID) {
    if (holder.pid < 2) return true;
    if (holder.uid != currentUID) return true;
    if (isProtectedName(holder.name)) return true;
    if (holder.executablePath && isProtectedName(displayName(*holder.executablePath))) return true;
    switch (holder.kind) {
        case HelperKind::app:
        case HelperKind::cloudSync:
        case HelperKind::shell:
        case HelperKind::commandLine: break;
        default: return true;
    }
    if (!holder.executablePath) return false;
    if (isRegularApp(holder)) return false;
    for (const std::string_view prefix : systemPathPrefixes) {
        if (holder.executablePath->starts_with(prefix)) return true;
    }
    return false;
}

std::vector<HolderAction> actions(const Holder& holder, std::uint32_t currentUID) {
    if (holder.kind == HelperKind::finder) return {HolderAction::showApp, HolderAction::waitAndRetry};
    if (isProtected(holder, currentUID)) return {HolderAction::waitAndRetry};
    if (isRegularApp(holder)) return {HolderAction::quitApp, HolderAction::showApp};
    switch (holder.kind) {
        case HelperKind::cloudSync:
        case HelperKind::shell:
        case HelperKind::commandLine: return {HolderAction::endProcess, HolderAction::waitAndRetry};
        default: return {HolderAction::waitAndRetry};
    }
}

}  // namespace kestrix::HolderPolicy

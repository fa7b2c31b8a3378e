#include "KestrixKit/Holders/HolderPolicy.h"

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <string_view>

#include "KestrixKit/Holders/CutCommandName.h"
#include "KestrixKit/Holders/DisplayName.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix::HolderPolicy {
namespace {

// The desktop's own processes, the kernel, launchd and this application ("kestrix").
const std::set<std::string, std::less<>>& protectedNames() {
    static const std::set<std::string, std::less<>> names{
        "finder", "dock", "systemuiserver", "windowserver", "loginwindow", "controlcenter", "notificationcenter",
        "launchd", "kernel_task", "spotlight", "kestrix", "coreservicesuiagent", "universalcontrol", "talagent",
        // On Linux: the service managers (pid 1 and every user's "systemd --user"), the display
        // servers, the desktops' shells, window managers and sessions, the display managers, the
        // message buses, the disk services, and this application's command-line tool.
        "systemd", "xorg", "xwayland", "gnome-shell", "plasmashell", "kwin_x11", "kwin_wayland", "mutter",
        "weston", "sway", "hyprland", "wayfire", "labwc", "openbox", "metacity", "muffin", "marco", "xfwm4",
        "budgie-wm", "gnome-session-binary", "gnome-session-service", "ksmserver", "xfce4-session", "xfce4-panel",
        "xfdesktop", "lxqt-session", "lxqt-panel", "cinnamon", "cinnamon-session", "cinnamon-session-binary",
        "mate-session", "mate-panel", "budgie-panel", "gdm", "gdm3", "gdm-wayland-session", "gdm-x-session",
        "sddm", "sddm-helper", "lightdm", "systemd-logind", "dbus-daemon", "dbus-broker", "dbus-broker-launch",
        "udisksd", "systemd-udevd", "gvfsd", "kestrixctl"};
    return names;
}

constexpr std::array<std::string_view, 7> systemPathPrefixes{
    "/System/Library/", "/usr/libexec/", "/usr/sbin/", "/sbin/", "/Library/Apple/", "/System/iOSSupport/",
    "/System/Cryptexes/"};

bool isProtectedName(std::string_view name) {
    const std::string lowercased = text::lowercased(name);
    if (protectedNames().contains(lowercased) || lowercased.starts_with("gvfsd-")) return true;
    // A Linux command name cut short still protects what it is the beginning of.
    return std::any_of(protectedNames().begin(), protectedNames().end(),
                       [&](const std::string& protectedName) { return isCutFrom(lowercased, protectedName); });
}

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
    // An app that can't be asked still gets Quit and Eject: Kestrix then waits for the user to
    // close it. Show is offered only where the desktop can bring its window forward.
    if (isRegularApp(holder)) {
        if (!holder.app->canBeShown()) return {HolderAction::quitApp};
        return {HolderAction::quitApp, HolderAction::showApp};
    }
    switch (holder.kind) {
        case HelperKind::cloudSync:
        case HelperKind::shell:
        case HelperKind::commandLine: return {HolderAction::endProcess, HolderAction::waitAndRetry};
        default: return {HolderAction::waitAndRetry};
    }
}

bool mayEndWhenAsked(const Holder& holder, std::uint32_t currentUID) {
    const auto ends = [](const std::vector<HolderAction>& offered) {
        return std::find(offered.begin(), offered.end(), HolderAction::endProcess) != offered.end();
    };
    if (ends(actions(holder, currentUID))) return true;
    // Root may end another user's program, but only one it names, and only one that its
    // owner could end.
    if (currentUID != 0 || holder.uid == currentUID) return false;
    return ends(actions(holder, holder.uid));
}

bool endsByDefault(const Holder& holder) {
    if (holder.app || holder.isWriting()) return false;
    if (holder.kind == HelperKind::shell) return !holder.job;
    return !HelperCatalog::isEditor(HelperCatalog::terminalProgram(holder));
}

EndSignal endSignal(const Holder& holder) {
    return holder.kind == HelperKind::shell ? EndSignal::hangUp : EndSignal::terminate;
}

}  // namespace kestrix::HolderPolicy

#include "KestrixKit/Linux/Apps/DesktopAppLookup.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "KestrixKit/Holders/AppRule.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Linux/Apps/AppCgroup.h"
#include "KestrixKit/Linux/Apps/DesktopEntryFolders.h"
#include "KestrixKit/Linux/Apps/LaunchEnvironment.h"
#include "KestrixKit/Linux/Apps/MainProcessRule.h"
#include "KestrixKit/Linux/Apps/MessageLocales.h"
#include "KestrixKit/Linux/Apps/SmallFile.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"
#include "KestrixKit/Text/PlainText.h"

namespace kestrix {
namespace {

// The /proc files read here are small; the limit only guards against the unexpected.
constexpr std::size_t largestProcFile = 1 << 20;

std::vector<std::string> messageLocales(const EnvironmentLookup& environment) {
    const auto setting = [&](const char* name) { return environment(name).value_or(""); };
    return preferredLocales({.language = setting("LANGUAGE"), .all = setting("LC_ALL"),
                             .messages = setting("LC_MESSAGES"), .lang = setting("LANG")});
}

bool isShell(const std::string& executable) {
    return HelperCatalog::kind(text::lastPathComponent(executable), executable, false, 1) == HelperKind::shell;
}

}  // namespace

DesktopAppLookup::DesktopAppLookup(const EnvironmentLookup& environment, std::uint32_t ownUID, Places places,
                                   DisplayClues display)
    : catalog_(applicationFolders(environment), messageLocales(environment)),
      ownUID_(ownUID),
      places_(std::move(places)),
      display_(std::move(display)) {}

std::string DesktopAppLookup::processPath(std::int32_t pid, const char* entry) const {
    return places_.procRoot + "/" + std::to_string(pid) + "/" + entry;
}

std::optional<std::string> DesktopAppLookup::executable(std::int32_t pid) const {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(processPath(pid, "exe"), error);
    if (error) return std::nullopt;
    return procfs::withoutDeletedMark(target.string());
}

std::optional<std::int32_t> DesktopAppLookup::unitLeader(const std::string& cgroupPath) const {
    for (const std::string& root : places_.cgroupRoots) {
        const auto procs = readSmallFile(root + cgroupPath + "/cgroup.procs", largestProcFile, FinalLink::follow);
        if (procs) return appcgroup::lowestPID(*procs);
    }
    return std::nullopt;
}

std::optional<AppIdentity> DesktopAppLookup::identify(std::int32_t pid) const {
    if (pid <= 0) return std::nullopt;
    const auto statusText = readSmallFile(processPath(pid, "status"), largestProcFile, FinalLink::follow);
    const auto status = statusText ? procfs::parseStatus(*statusText) : std::nullopt;
    if (!status) return std::nullopt;

    // Another user may place a link at /.flatpak-info in a root of their own.
    const auto flatpakInfo = readSmallFile(processPath(pid, "root/.flatpak-info"), largestProcFile, FinalLink::refuse);
    const auto flatpakID = flatpakInfo ? flatpakAppID(*flatpakInfo) : std::nullopt;
    const auto cgroupText = readSmallFile(processPath(pid, "cgroup"), largestProcFile, FinalLink::follow);
    const auto cgroupPath = cgroupText ? appcgroup::unifiedPath(*cgroupText) : std::nullopt;
    const auto unit = cgroupPath ? appcgroup::appUnit(*cgroupPath) : std::nullopt;
    std::optional<DesktopLaunch> launch;
    std::optional<std::int32_t> launchedPID;
    if (status->effectiveUID == ownUID_) {
        const auto environment = readSmallFile(processPath(pid, "environ"), largestProcFile, FinalLink::follow);
        if (environment) launch = parseDesktopLaunch(*environment);
        if (environment) launchedPID = kestrix::launchedPID(*environment);
    }
    const std::optional<std::string> ownExecutable = executable(pid);
    const std::optional<std::string> parentExecutable =
        status->parentPID > 0 ? executable(status->parentPID) : std::nullopt;

    AppRule::AppClues clues{
        .startedAs = startedAs(pid, flatpakID, unit, launch, ownExecutable, parentExecutable),
        .ownsWindow = display_.windowOwners && display_.windowOwners().contains(pid),
        .connectedToDisplay = display_.connectedToDisplay && display_.connectedToDisplay(pid),
        .launched = launchedPID == pid,
        .startedByShell = parentExecutable && isShell(*parentExecutable),
        .processName = processName(pid, status->name, ownExecutable)};
    if (const auto installed = ownExecutable ? catalog_.byExecutable(*ownExecutable) : std::nullopt) {
        // A program that its own program started is a helper of it (a browser's tabs).
        clues.runsProgramOf = AppIdentity{.name = installed->entry.name,
                                          .bundleID = installed->id,
                                          .isRegular = !installed->entry.noDisplay && parentExecutable != ownExecutable,
                                          .bundlePath = installed->path};
    }
    return AppRule::identify(clues);
}

std::string DesktopAppLookup::processName(std::int32_t pid, const std::string& commandName,
                                          const std::optional<std::string>& ownExecutable) const {
    const auto commandLine = readSmallFile(processPath(pid, "cmdline"), largestProcFile, FinalLink::follow);
    if (auto typed = commandLine ? procfs::typedName(commandName, *commandLine) : std::nullopt) return std::move(*typed);
    return ownExecutable ? text::lastPathComponent(*ownExecutable) : commandName;
}

std::optional<AppIdentity> DesktopAppLookup::startedAs(std::int32_t pid, const std::optional<std::string>& flatpakID,
                                                      const std::optional<appcgroup::AppUnit>& unit,
                                                      const std::optional<DesktopLaunch>& launch,
                                                      const std::optional<std::string>& ownExecutable,
                                                      const std::optional<std::string>& parentExecutable) const {
    std::optional<FoundDesktopEntry> found;
    if (flatpakID) found = catalog_.byID(*flatpakID);
    for (std::size_t index = 0; !found && unit && index < unit->desktopIDs.size(); ++index) {
        found = catalog_.byID(unit->desktopIDs[index]);
    }
    const std::optional<FoundDesktopEntry> launched = launch ? catalog_.byPath(launch->desktopFile) : std::nullopt;
    if (!found) found = launched;
    if (!found) return std::nullopt;

    AppProcessFacts facts{.pid = pid, .executable = ownExecutable, .entryProgram = found->entry.program};
    if (launched && launched->id == found->id) facts.launchedPID = launch->pid;
    if (unit && std::find(unit->desktopIDs.begin(), unit->desktopIDs.end(), found->id) != unit->desktopIDs.end()) {
        facts.unitLeader = unitLeader(unit->cgroupPath);
    }
    facts.parentExecutable = parentExecutable;
    return AppIdentity{.name = found->entry.name,
                       .bundleID = found->id,
                       .isRegular = !found->entry.noDisplay && isAppMainProcess(facts),
                       .bundlePath = found->path};
}

std::function<std::optional<AppIdentity>(std::int32_t)> desktopAppLookup(std::uint32_t ownUID, DisplayClues display) {
    auto lookup = std::make_shared<const DesktopAppLookup>(processEnvironment, ownUID, DesktopAppLookup::Places{},
                                                           std::move(display));
    return [lookup](std::int32_t pid) { return lookup->identify(pid); };
}

}  // namespace kestrix

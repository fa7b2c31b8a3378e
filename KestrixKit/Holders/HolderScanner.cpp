#include "KestrixKit/Holders/HolderScanner.h"

#include <algorithm>
#include <set>

#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix {
namespace {

// One hold per kind and path; a file open both for reading and for writing counts as writing.
std::vector<Hold> merged(const std::vector<Hold>& holds) {
    std::vector<Hold> kept;
    for (const Hold& hold : holds) {
        const auto same = std::find_if(kept.begin(), kept.end(), [&](const Hold& candidate) {
            return candidate.kind == hold.kind && candidate.path == hold.path;
        });
        if (same == kept.end()) {
            kept.push_back(hold);
        } else {
            same->writing = same->writing || hold.writing;
        }
    }
    return kept;
}

// The holds in discovery order: open files, working folder, executable, then the mapped files
// that are not already held otherwise.
std::vector<Hold> holdsFrom(const DriveReferences& references) {
    std::vector<Hold> holds;
    for (const VnodeRef& file : references.openFiles) holds.push_back({HoldKind::openFile, file.path, file.writing});
    if (references.currentFolder) holds.push_back({HoldKind::currentFolder, references.currentFolder->path, false});
    if (references.executablePath) holds.push_back({HoldKind::runningFrom, *references.executablePath, false});
    std::set<std::string> known;
    for (const Hold& hold : holds) known.insert(hold.path);
    for (const VnodeRef& file : references.mappedFiles) {
        if (!known.contains(file.path)) holds.push_back({HoldKind::mappedFile, file.path, false});
    }
    for (const VnodeRef& file : references.watchedFiles) {
        if (!known.contains(file.path)) holds.push_back({HoldKind::watchedFile, file.path, false});
    }
    return holds;
}

void sortHolders(std::vector<Holder>& holders) {
    std::stable_sort(holders.begin(), holders.end(), [](const Holder& a, const Holder& b) {
        const int rankA = HelperCatalog::sortRank(a.kind);
        const int rankB = HelperCatalog::sortRank(b.kind);
        if (rankA != rankB) return rankA < rankB;
        return text::localizedCaseInsensitiveCompare(a.name, b.name) < 0;
    });
}

}  // namespace

bool HolderScanner::isUnder(std::string_view path, const std::vector<std::string>& mountPaths) {
    return DriveScope::isUnder(path, mountPaths);
}

std::optional<std::string> HolderScanner::outerApp(std::string_view executablePath) {
    const std::size_t bundleEnd = executablePath.find(".app/");
    if (bundleEnd == std::string_view::npos) return std::nullopt;
    return std::string(executablePath.substr(0, bundleEnd + 4));
}

ScanResult HolderScanner::scan(const Drive& drive, bool deep) const {
    const double start = clock ? clock() : 0;
    std::optional<MountNamespaces> namespaces;
    ScanResult result = scanMounted(DriveScope{.devices = drive.devices(), .mountPaths = drive.mountPaths()}, deep,
                                    kernel ? &namespaces : nullptr);
    addKernelHolders(drive, namespaces, result);
    result.seconds = clock ? clock() - start : 0;
    return result;
}

ScanResult HolderScanner::scan(const std::set<std::uint32_t>& devices, const std::vector<std::string>& mountPaths,
                               bool deep) const {
    const double start = clock ? clock() : 0;
    ScanResult result = scanMounted(DriveScope{.devices = devices, .mountPaths = mountPaths}, deep, nullptr);
    result.seconds = clock ? clock() - start : 0;
    return result;
}

ScanResult HolderScanner::scanMounted(const DriveScope& drive, bool deep,
                                      std::optional<MountNamespaces>* namespaces) const {
    // Only what is still mounted: the device number of a volume read while it went away can be
    // that of the file system beneath it, on which every process has files.
    const DriveScope scope = source->mountedPart(drive);
    ScanResult result = scanScope(scope, deep, namespaces);
    // A drive unmounted or replaced while the scan ran: what was found may lie elsewhere.
    if (!scope.isEmpty() && source->mountedPart(drive) != scope) result.holders.clear();
    return result;
}

ScanResult HolderScanner::scanFileSystems(const Drive& drive) const {
    const double start = clock ? clock() : 0;
    std::optional<MountNamespaces> namespaces;
    ScanResult result = scanScope(DriveScope{.devices = drive.devices(), .mountPaths = {}}, true,
                                  kernel ? &namespaces : nullptr);
    addKernelHolders(drive, namespaces, result);
    result.seconds = clock ? clock() - start : 0;
    return result;
}

void HolderScanner::addKernelHolders(const Drive& drive, const std::optional<MountNamespaces>& namespaces,
                                     ScanResult& result) const {
    if (!kernel) return;
    KernelScan found = kernel->holders(drive, namespaces);
    result.kernelHolders = std::move(found.holders);
    result.hidden += found.hidden;
}

ScanResult HolderScanner::scanScope(const DriveScope& scope, bool deep,
                                    std::optional<MountNamespaces>* namespaces) const {
    ScanResult result;
    result.deep = deep;
    if (!scope.isEmpty()) {
        std::vector<std::int32_t> pids = source->allPIDs();
        std::erase(pids, ownPID);
        // The kernel's holders read the namespaces met here rather than walking the processes again.
        const std::vector<std::optional<DriveReferences>> references =
            source->referencesOfEach(pids, scope, deep, namespaces != nullptr);
        if (namespaces) *namespaces = mountNamespacesOf(pids, references);
        for (std::size_t index = 0; index < pids.size() && index < references.size(); ++index) {
            if (!references[index]) {
                ++result.hidden;
                continue;
            }
            ++result.checked;
            std::vector<Hold> holds = holdsFrom(*references[index]);
            if (holds.empty()) continue;
            // Names and owners are read only for the few processes that hold the drive.
            Holder holder = makeHolder(pids[index], source->basics(pids[index]), merged(holds), false);
            // Only an app keeps a document it watches: indexers and the like only look.
            if (!(holder.app && holder.app->isRegular)) {
                std::erase_if(holder.holds, [](const Hold& hold) { return hold.kind == HoldKind::watchedFile; });
                if (holder.holds.empty()) continue;
            }
            result.holders.push_back(std::move(holder));
        }
    }
    sortHolders(result.holders);
    return result;
}

std::optional<Holder> HolderScanner::holderForDissenter(std::int32_t pid) const {
    if (pid < 0) return std::nullopt;
    const std::optional<ProcessBasics> basics = source->basics(pid);
    if (!basics) return std::nullopt;
    return makeHolder(pid, basics, {}, true);
}

Holder HolderScanner::makeHolder(std::int32_t pid, const std::optional<ProcessBasics>& basics,
                                 std::vector<Hold> holds, bool namedByMacOS) const {
    Holder holder;
    holder.pid = pid;
    holder.app = appLookup ? appLookup(pid) : std::nullopt;
    const std::string processName = basics ? basics->name : localizedFormat("PID %1", {std::to_string(pid)});
    if (basics) {
        holder.executablePath = basics->executablePath;
        holder.uid = basics->uid;
        holder.startTime = basics->startTime;
        holder.job = basics->job;
    }
    holder.name = holder.app ? holder.app->name : processName;
    holder.kind = HelperCatalog::kind(processName, holder.executablePath, holder.app && holder.app->isRegular, pid,
                                      basics ? basics->commandName : std::nullopt);
    if (holder.app && holder.app->bundlePath) {
        holder.appBundlePath = holder.app->bundlePath;
    } else if (holder.executablePath) {
        holder.appBundlePath = outerApp(*holder.executablePath);
    }
    holder.holds = std::move(holds);
    holder.namedByMacOS = namedByMacOS;
    return holder;
}

}  // namespace kestrix

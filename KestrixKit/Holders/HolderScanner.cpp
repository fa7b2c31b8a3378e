#include "KestrixKit/Holders/HolderScanner.h"

#include <algorithm>

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
    return scan(drive.devices(), drive.mountPaths(), deep);
}

ScanResult HolderScanner::scan(const std::set<std::uint32_t>& devices, const std::vector<std::string>& mountPaths,
                               bool deep) const {
    const double start = clock ? clock() : 0;
    const DriveScope scope{.devices = devices, .mountPaths = mountPaths};
    ScanResult result;
    result.deep = deep;
    std::vector<std::int32_t> pids = source->allPIDs();
    std::erase(pids, ownPID);
    const std::vector<std::optional<std::vector<VnodeRef>>> fileLists = source->openFilesOfEach(pids, scope);
    for (std::size_t index = 0; index < pids.size() && index < fileLists.size(); ++index) {
        const std::int32_t pid = pids[index];
        const std::optional<std::vector<VnodeRef>>& files = fileLists[index];
        if (!files) {
            ++result.hidden;
            continue;
        }
        ++result.checked;
        std::vector<Hold> holds;
        for (const VnodeRef& file : *files) {
            if (scope.contains(file)) holds.push_back({HoldKind::openFile, file.path, file.writing});
        }
        if (const std::optional<VnodeRef> folder = source->currentFolder(pid); folder && scope.contains(*folder)) {
            holds.push_back({HoldKind::currentFolder, folder->path, false});
        }
        const std::optional<ProcessBasics> basics = source->basics(pid);
        if (basics && basics->executablePath && scope.containsPath(*basics->executablePath)) {
            holds.push_back({HoldKind::runningFrom, *basics->executablePath, false});
        }
        if (deep) {
            if (const auto mapped = source->mappedFiles(pid)) {
                std::set<std::string> known;
                for (const Hold& hold : holds) known.insert(hold.path);
                for (const VnodeRef& file : *mapped) {
                    if (scope.contains(file) && !known.contains(file.path)) {
                        holds.push_back({HoldKind::mappedFile, file.path, false});
                    }
                }
            }
        }
        if (holds.empty()) continue;
        result.holders.push_back(makeHolder(pid, basics, merged(holds), false));
    }
    sortHolders(result.holders);
    result.seconds = clock ? clock() - start : 0;
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

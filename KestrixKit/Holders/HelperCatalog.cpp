#include "KestrixKit/Holders/HelperCatalog.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "KestrixKit/Holders/CutCommandName.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/PlainText.h"
#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix::HelperCatalog {
namespace {

// Owned copies: a nested initializer_list would not outlive the pair built from it.
using NameList = std::vector<std::string_view>;

// Built once, on first use; the static initialiser is safe against concurrent first calls.
const std::unordered_map<std::string, HelperKind>& nameTable() {
    static const std::unordered_map<std::string, HelperKind> table = [] {
        const std::vector<std::pair<HelperKind, NameList>> lists{
            {HelperKind::finder, {"Finder"}},
            {HelperKind::quickLook,
             {"QuickLookUIService", "QuickLookSatellite", "ExternalQuickLookSatellite", "quicklookd", "qlmanage",
              "com.apple.quicklook.ThumbnailsAgent", "ThumbnailExtension", "QuickLookThumbnailing", "Quick Look"}},
            {HelperKind::spotlight,
             {"mds", "mds_stores", "mdworker", "mdworker_shared", "mdsync", "mdbulkimport", "mdflagwriter", "mdwrite",
              "corespotlightd", "Spotlight", "spotlightknowledged"}},
            {HelperKind::timeMachine, {"backupd", "backupd-helper", "TimeMachine", "Time Machine", "tmutil"}},
            {HelperKind::mediaAnalysis,
             {"photoanalysisd", "mediaanalysisd", "mediaanalysisd-access", "photolibraryd", "cloudphotod",
              "PTPCamera", "AMPDevicesAgent", "Image Capture Extension"}},
            {HelperKind::diskCheck,
             {"fsck", "fsck_apfs", "fsck_hfs", "fsck_exfat", "fsck_msdos", "fsck_udf", "fsck_cs"}},
            {HelperKind::fileService,
             {"kernel_task", "fseventsd", "revisiond", "diskarbitrationd", "deleted", "deleted_helper",
              "storagekitd", "diskmanagementd", "filecoordinationd", "lsd", "iconservicesagent", "launchd", "apfsd",
              "mount_apfs", "mount_exfat", "mount_msdos", "mount_hfs", "mount_ntfs", "mount_smbfs", "lifs",
              "UserFSService"}},
            {HelperKind::cloudSync,
             {"bird", "cloudd", "fileproviderd", "Dropbox", "Google Drive", "OneDrive", "Box", "Backblaze",
              "bztransmit", "bzfilelist", "bzserv", "CrashPlanService", "Arq", "Arq Agent", "Carbon Copy Cloner",
              "ccc_helper", "SuperDuper!", "Syncthing", "syncthing", "Resilio Sync", "pCloud Drive", "Sync"}},
            {HelperKind::securityScan,
             {"XProtect", "XprotectService", "XProtectRemediator", "MRT", "RTProtectionDaemon", "SophosScanD",
              "com.avast.daemon", "BDLDaemon", "Intego VirusBarrier"}},
            {HelperKind::shell,
             {"zsh", "bash", "sh", "fish", "tcsh", "csh", "dash", "ksh", "nu", "elvish", "xonsh", "pwsh", "-zsh",
              "-bash"}},
            // The Linux desktops' and distributions' programs of the same kinds.
            {HelperKind::finder, {"nautilus", "dolphin", "nemo", "thunar", "caja", "pcmanfm", "pcmanfm-qt"}},
            {HelperKind::spotlight,
             {"tracker-miner-fs-3", "tracker-extract-3", "localsearch-3", "localsearch-extractor-3", "baloo_file",
              "baloo_file_extractor", "plocate-build"}},
            {HelperKind::quickLook,
             {"tumblerd", "ffmpegthumbnailer", "gdk-pixbuf-thumbnailer", "totem-video-thumbnailer",
              "evince-thumbnailer", "sushi"}},
            {HelperKind::timeMachine,
             {"deja-dup", "duplicity", "borg", "restic", "timeshift", "backintime", "rsnapshot", "vorta",
              "pika-backup", "kup-daemon"}},
            {HelperKind::cloudSync,
             {"nextcloud", "owncloud", "dropbox", "insync", "megasync", "rclone", "onedrive", "maestral",
              "seaf-daemon", "rslsync"}},
            {HelperKind::diskCheck, {"e2fsck", "dosfsck", "ntfsfix", "xfs_repair"}},
            {HelperKind::fileService,
             {"udisksd", "systemd-udevd", "gvfsd", "ntfs-3g", "mount.ntfs", "mount.ntfs-3g", "exfat-fuse",
              "mount.exfat-fuse", "fusermount", "fusermount3"}},
            {HelperKind::securityScan, {"clamd", "clamscan", "clamonacc"}},
        };
        std::unordered_map<std::string, HelperKind> built;
        for (const auto& [kind, names] : lists) {
            for (const std::string_view name : names) built[text::lowercased(name)] = kind;
        }
        return built;
    }();
    return table;
}

std::optional<HelperKind> kindByNamePattern(const std::string& lowercasedName) {
    const std::string_view n = lowercasedName;
    if (n.starts_with("com.apple.quicklook") || n.find("quicklook") != std::string_view::npos ||
        n.find("thumbnail") != std::string_view::npos) {
        return HelperKind::quickLook;
    }
    if (n.starts_with("mdworker")) return HelperKind::spotlight;
    if (n.starts_with("mds") && text::characterCount(n) <= 10) return HelperKind::spotlight;
    if (n.starts_with("fsck_")) return HelperKind::diskCheck;
    if (n.starts_with("xprotect")) return HelperKind::securityScan;
    // updatedb.mlocate, updatedb.plocate, updatedb.findutils …
    if (n.starts_with("updatedb")) return HelperKind::spotlight;
    if (n.starts_with("fsck.")) return HelperKind::diskCheck;
    // gvfsd-fuse, gvfsd-trash …, and gvfs-udisks2-volume-monitor and its kin.
    if (n.starts_with("gvfsd-") || (n.starts_with("gvfs-") && n.ends_with("-volume-monitor"))) {
        return HelperKind::fileService;
    }
    return std::nullopt;
}

// A Linux command name cut short that begins listed names of one kind only is one of them.
std::optional<HelperKind> kindByCutName(const std::string& lowercasedName) {
    if (lowercasedName.size() != commandNameLimit) return std::nullopt;
    std::optional<HelperKind> found;
    for (const auto& [name, kind] : nameTable()) {
        if (!isCutFrom(lowercasedName, name)) continue;
        if (found && *found != kind) return std::nullopt;
        found = kind;
    }
    return found;
}

std::optional<HelperKind> kindByPath(std::string_view path) {
    if (path.starts_with("/System/Library/CoreServices/Finder.app/")) return HelperKind::finder;
    if (path.find("/QuickLook") != std::string_view::npos) return HelperKind::quickLook;
    if (path.find("/Library/Apple/System/Library/CoreServices/XProtect") != std::string_view::npos) {
        return HelperKind::securityScan;
    }
    for (const std::string_view syncApp :
         {"/Applications/Dropbox.app/", "/Applications/Google Drive.app/", "/Applications/OneDrive.app/"}) {
        if (path.starts_with(syncApp)) return HelperKind::cloudSync;
    }
    return std::nullopt;
}

// Programs that take the whole terminal and leave it their own way, by the names they run as.
const std::unordered_map<std::string, TerminalProgram>& terminalPrograms() {
    static const std::unordered_map<std::string, TerminalProgram> table = [] {
        const std::vector<std::pair<TerminalProgram, NameList>> lists{
            {TerminalProgram::pager, {"less", "more", "most", "pg", "man", "info", "pinfo", "w3m", "lynx", "links",
                                      "elinks", "bat", "batcat"}},
            {TerminalProgram::monitor, {"top", "htop", "btop", "atop", "iotop", "iftop", "nethogs", "nmon", "glances",
                                        "nvtop", "bpytop", "bashtop", "gtop", "ncdu", "mc", "ranger", "nnn", "vifm"}},
            {TerminalProgram::vimEditor, {"vi", "vim", "nvim", "view", "vimdiff", "rvim", "ex", "vim.basic",
                                          "vim.tiny", "vim.nox", "nvi", "elvis"}},
            {TerminalProgram::nanoEditor, {"nano", "rnano", "pico"}},
            {TerminalProgram::emacsEditor, {"emacs", "emacs-nox", "mg", "zile", "jove"}},
            {TerminalProgram::editor, {"micro", "joe", "jed", "jmacs", "jstar", "mcedit", "ne", "kak", "hx", "helix",
                                       "ed", "tilde", "dte"}},
        };
        std::unordered_map<std::string, TerminalProgram> built;
        for (const auto& [program, names] : lists) {
            for (const std::string_view name : names) built[std::string(name)] = program;
        }
        return built;
    }();
    return table;
}

bool hasHold(const Holder& holder, HoldKind kind) {
    return std::any_of(holder.holds.begin(), holder.holds.end(), [&](const Hold& hold) { return hold.kind == kind; });
}

}  // namespace

HelperKind kind(std::string_view name, const std::optional<std::string>& executablePath, bool isApp,
                std::int32_t pid, const std::optional<std::string>& commandName) {
    if (pid == 0) return HelperKind::fileService;
    // The name first; then the names a Linux process also goes by: its command's name (a
    // script's, where the executable is the interpreter) and its executable's file name.
    std::vector<std::string> names{text::lowercased(name)};
    if (commandName) names.push_back(text::lowercased(*commandName));
    if (executablePath) names.push_back(text::lowercased(text::lastPathComponent(*executablePath)));
    for (const std::string& candidate : names) {
        if (const auto found = nameTable().find(candidate); found != nameTable().end()) return found->second;
    }
    for (const std::string& candidate : names) {
        if (const auto byPattern = kindByNamePattern(candidate)) return *byPattern;
    }
    if (executablePath) {
        if (const auto byPath = kindByPath(*executablePath)) return *byPath;
    }
    if (const auto byCutName = kindByCutName(names.front())) return *byCutName;
    return isApp ? HelperKind::app : HelperKind::commandLine;
}

int sortRank(HelperKind kind) {
    switch (kind) {
        case HelperKind::app: return 0;
        case HelperKind::shell:
        case HelperKind::commandLine: return 1;
        case HelperKind::finder:
        case HelperKind::cloudSync: return 2;
        default: return 3;
    }
}

bool isSystemService(HelperKind kind) {
    switch (kind) {
        case HelperKind::app:
        case HelperKind::finder:
        case HelperKind::cloudSync:
        case HelperKind::shell:
        case HelperKind::commandLine: return false;
        default: return true;
    }
}

std::string label(HelperKind kind) {
    switch (kind) {
        case HelperKind::app: return localized("App");
        case HelperKind::finder: return localized("Finder");
        case HelperKind::quickLook: return localized("Quick Look");
        case HelperKind::spotlight: return localized("Spotlight");
        case HelperKind::timeMachine: return localized("Time Machine");
        case HelperKind::mediaAnalysis: return localized("Photos analysis");
        case HelperKind::diskCheck: return localized("Disk check");
        case HelperKind::fileService: return localized("macOS service");
        case HelperKind::cloudSync: return localized("Sync or backup");
        case HelperKind::securityScan: return localized("Malware scan");
        case HelperKind::shell: return localized("Terminal shell");
        case HelperKind::commandLine: return localized("Command-line program");
    }
    return {};
}

std::string symbol(HelperKind kind) {
    switch (kind) {
        case HelperKind::app: return "app.fill";
        case HelperKind::finder: return "folder.fill";
        case HelperKind::quickLook: return "eye.fill";
        case HelperKind::spotlight: return "magnifyingglass";
        case HelperKind::timeMachine: return "clock.arrow.circlepath";
        case HelperKind::mediaAnalysis: return "photo.on.rectangle";
        case HelperKind::diskCheck: return "stethoscope";
        case HelperKind::fileService: return "gearshape.2.fill";
        case HelperKind::cloudSync: return "arrow.triangle.2.circlepath";
        case HelperKind::securityScan: return "shield.lefthalf.filled";
        case HelperKind::shell: return "terminal.fill";
        case HelperKind::commandLine: return "chevron.left.forwardslash.chevron.right";
    }
    return {};
}

std::string description(const Holder& holder) {
    switch (holder.kind) {
        case HelperKind::app:
            if (holder.isWriting()) return localizedFormat("%1 is saving to a file on this drive.", {holder.name});
            // An app started from a folder on the drive holds it with no file open: say which it is.
            if (hasHold(holder, HoldKind::currentFolder) && !hasHold(holder, HoldKind::openFile)) {
                return localizedFormat("%1 is working in a folder on this drive.", {holder.name});
            }
            return localizedFormat("%1 has a file open on this drive.", {holder.name});
        case HelperKind::finder: return localized("Finder is using this drive: copying files, or a window is showing it.");
        case HelperKind::quickLook:
            return localized("Quick Look is showing a preview, or making thumbnails, of files on this drive.");
        case HelperKind::spotlight: return localized("Spotlight is indexing this drive so you can search it.");
        case HelperKind::timeMachine: return localized("Time Machine is backing up to this drive, or reading from it.");
        case HelperKind::mediaAnalysis: return localized("Photos is analyzing pictures or videos on this drive.");
        case HelperKind::diskCheck: return localized("macOS is checking this drive for errors.");
        case HelperKind::fileService: return localized("A macOS file service is still working with this drive.");
        case HelperKind::cloudSync: return localizedFormat("%1 is syncing or backing up files on this drive.", {holder.name});
        case HelperKind::securityScan: return localized("A malware scan is reading files on this drive.");
        case HelperKind::shell: return localized("A Terminal window is open in a folder on this drive.");
        case HelperKind::commandLine:
            if (hasHold(holder, HoldKind::currentFolder) && !hasHold(holder, HoldKind::openFile)) {
                return localizedFormat("%1, a command-line program, is working in a folder on this drive.", {holder.name});
            }
            return localizedFormat("%1, a command-line program, has a file open on this drive.", {holder.name});
    }
    return {};
}

std::string advice(HelperKind kind) {
    switch (kind) {
        case HelperKind::app: return localized("Save your work and quit it, or close the file.");
        case HelperKind::finder: return localized("Wait for any copy to finish and close Finder windows showing the drive.");
        case HelperKind::quickLook: return localized("Close the preview (press Space), wait a moment, then try again.");
        case HelperKind::spotlight:
            return localized("It usually lets go in a few seconds, so Kestrix tries again for you. For a drive you "
                             "eject often, add it to Spotlight\u2019s Search Privacy list in System Settings.");
        case HelperKind::timeMachine: return localized("Wait for the backup to finish, or stop it.");
        case HelperKind::mediaAnalysis: return localized("This stops on its own. Wait a moment and try again, or quit Photos.");
        case HelperKind::diskCheck: return localized("Let the check finish. Unplugging now can damage files.");
        case HelperKind::fileService: return localized("Wait a few seconds, then try again.");
        case HelperKind::cloudSync: return localized("Pause syncing, or wait for it to finish.");
        case HelperKind::securityScan: return localized("Wait for the scan to finish, then try again.");
        case HelperKind::shell: return localized("In that window, type cd ~ and press Return, or close the window.");
        case HelperKind::commandLine: return localized("Stop it (Control-C in its Terminal window), or end it from here.");
    }
    return {};
}

TerminalProgram terminalProgram(const Holder& holder) {
    if (holder.kind != HelperKind::commandLine) return TerminalProgram::other;
    // The name it was started by ("vi"), then its executable's ("vim.basic").
    std::vector<std::string> names{text::lowercased(holder.name)};
    if (holder.executablePath) names.push_back(text::lowercased(text::lastPathComponent(*holder.executablePath)));
    for (const std::string& name : names) {
        if (const auto found = terminalPrograms().find(name); found != terminalPrograms().end()) return found->second;
    }
    return TerminalProgram::other;
}

bool isEditor(TerminalProgram program) {
    switch (program) {
        case TerminalProgram::vimEditor:
        case TerminalProgram::nanoEditor:
        case TerminalProgram::emacsEditor:
        case TerminalProgram::editor: return true;
        default: return false;
    }
}

std::string cannotAskToQuit(const Holder& holder) {
    return localizedFormat("%1 can\u2019t be asked to quit on this desktop. Save your work in it and close it, then "
                           "Kestrix ejects.",
                           {holder.name});
}

std::string advice(const Holder& holder) {
    if (holder.kind == HelperKind::app && holder.app && !holder.app->canBeAskedToQuit()) return cannotAskToQuit(holder);
    if (holder.kind == HelperKind::shell && holder.job) {
        return localizedFormat("It\u2019s running %1: quit %1 in that window first, then type cd ~ and press Return, or "
                               "close the window.",
                               {*holder.job});
    }
    switch (terminalProgram(holder)) {
        case TerminalProgram::pager:
        case TerminalProgram::monitor:
            return localized("Press q in its Terminal window to close it, or end it from here.");
        case TerminalProgram::vimEditor:
            return localized("In its Terminal window, type :wq to save your work and quit.");
        case TerminalProgram::nanoEditor:
            return localized("In its Terminal window, press Control-X to save your work and quit.");
        case TerminalProgram::emacsEditor:
            return localized("In its Terminal window, press Control-X Control-C to save your work and quit.");
        case TerminalProgram::editor: return localized("In its Terminal window, save your work and quit it.");
        case TerminalProgram::other: break;
    }
    return advice(holder.kind);
}

std::string stillRunning(const Holder& holder) {
    std::string remedy;
    if (holder.kind == HelperKind::shell) {
        remedy = localized("In its Terminal window, type cd ~, or close the window.");
    } else if (holder.kind != HelperKind::commandLine) {
        remedy = advice(holder.kind);
    } else {
        const TerminalProgram program = terminalProgram(holder);
        if (program == TerminalProgram::pager || program == TerminalProgram::monitor) {
            remedy = localized("In its Terminal window, press q.");
        } else if (isEditor(program)) {
            remedy = localized("In its Terminal window, save your work and quit it.");
        } else {
            remedy = localized("In its Terminal window, press Control-C.");
        }
    }
    return localizedFormat("%1 is still running.", {holder.name}) + " " + remedy;
}

std::string holdLine(const Hold& hold) {
    const std::string file = text::lastPathComponent(hold.path);
    switch (hold.kind) {
        case HoldKind::watchedFile: return localizedFormat("Has %1 open", {file});
        case HoldKind::openFile:
            return hold.writing ? localizedFormat("Writing to %1", {file}) : localizedFormat("Has %1 open", {file});
        case HoldKind::currentFolder: return localizedFormat("Working in %1", {file});
        case HoldKind::runningFrom: return localized("Running from this drive");
        case HoldKind::mappedFile: return localizedFormat("Still reading %1", {file});
    }
    return {};
}

}  // namespace kestrix::HelperCatalog

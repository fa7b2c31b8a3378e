#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KestrixKit/Holders/HelperCatalog.h"

using namespace kestrix;

namespace {

struct Group {
    HelperKind kind;
    std::vector<std::string> names;
};

HelperKind kindOf(std::string_view name, std::optional<std::string> path = std::nullopt,
                  std::optional<std::string> commandName = std::nullopt) {
    return HelperCatalog::kind(name, path, false, 4242, commandName);
}

}  // namespace

TEST(LinuxHelperCatalog, KnowsTheLinuxProgramsOfEachKind) {
    const std::vector<Group> groups{
        {HelperKind::finder, {"nautilus", "dolphin", "nemo", "thunar", "caja", "pcmanfm", "pcmanfm-qt", "Finder"}},
        {HelperKind::spotlight,
         {"tracker-miner-fs-3", "tracker-extract-3", "localsearch-3", "localsearch-extractor-3", "baloo_file",
          "baloo_file_extractor", "updatedb", "updatedb.mlocate", "updatedb.plocate", "plocate-build", "mds"}},
        {HelperKind::quickLook,
         {"tumblerd", "ffmpegthumbnailer", "gdk-pixbuf-thumbnailer", "totem-video-thumbnailer", "evince-thumbnailer",
          "sushi", "QuickLookUIService"}},
        {HelperKind::timeMachine,
         {"deja-dup", "duplicity", "borg", "restic", "timeshift", "backintime", "rsnapshot", "vorta", "pika-backup",
          "kup-daemon", "backupd"}},
        {HelperKind::cloudSync,
         {"nextcloud", "owncloud", "dropbox", "insync", "megasync", "rclone", "onedrive", "maestral", "seaf-daemon",
          "rslsync", "bird"}},
        {HelperKind::diskCheck,
         {"fsck", "fsck.ext4", "fsck.vfat", "fsck.exfat", "e2fsck", "dosfsck", "ntfsfix", "xfs_repair", "fsck_apfs"}},
        {HelperKind::fileService,
         {"udisksd", "systemd-udevd", "gvfsd", "gvfsd-fuse", "gvfsd-trash", "gvfs-udisks2-volume-monitor",
          "gvfs-mtp-volume-monitor", "ntfs-3g", "mount.ntfs", "exfat-fuse", "fusermount3", "launchd"}},
        {HelperKind::securityScan, {"clamd", "clamscan", "clamonacc", "XProtect"}},
        {HelperKind::commandLine, {"gvfs-helper", "updat", "tracker", "my-long-tool-nam"}},
    };
    for (const Group& group : groups) {
        for (const std::string& name : group.names) {
            EXPECT_EQ(kindOf(name), group.kind) << name;
            EXPECT_EQ(kindOf("python3.11", "/usr/bin/python3.11", name), group.kind) << name << " as a script";
        }
    }
}

TEST(LinuxHelperCatalog, KnowsANameTheKernelCutShort) {
    // /proc/PID/comm keeps 15 bytes: "tracker-miner-fs-3" becomes "tracker-miner-f".
    EXPECT_EQ(kindOf("tracker-miner-f", "/usr/libexec/tracker-miner-fs-3"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("gvfs-udisks2-vo", "/usr/libexec/gvfs-udisks2-volume-monitor"), HelperKind::fileService);
    // Without the executable, the cut name still begins exactly one kind's names.
    EXPECT_EQ(kindOf("tracker-miner-f"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("localsearch-ext"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("baloo_file_extr"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("totem-video-thu"), HelperKind::quickLook);
    // A shorter name is never taken for the beginning of another.
    EXPECT_EQ(kindOf("tracker-miner"), HelperKind::commandLine);
    // The executable's own name counts, whatever the process calls itself.
    EXPECT_EQ(kindOf("pool-worker", "/usr/bin/nautilus"), HelperKind::finder);
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <fcntl.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderScanner.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/InotifyWatches.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Linux/Processes/WatchedDocuments.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"

using namespace kestrix;

namespace {

TEST(InotifyWatches, ReadsEachWatchLineWithItsHandleAndSkipsTheRest) {
    const std::string fdinfo =
        "pos:\t0\nflags:\t02004000\nmnt_id:\t15\nino:\t1057\n"
        "inotify wd:2 ino:c sdev:700000 mask:fce ignored_mask:0 fhandle-bytes:8 fhandle-type:1 f_handle:0c00000014b2c3d4\n"
        "inotify wd:1 ino:2 sdev:fe00103 mask:3cc ignored_mask:0\n"
        "inotify wd:3 ino:zz sdev:700000 mask:2\n"
        "inotify wd:4 ino:5 sdev:700000\n"
        "inotify wd:5 ino:6 sdev:700000 mask:2 fhandle-bytes:4 fhandle-type:1 f_handle:0c00\n";
    const std::vector<InotifyWatch> watches = parseInotifyWatches(fdinfo);
    ASSERT_EQ(watches.size(), 3u);
    EXPECT_EQ(watches[0], (InotifyWatch{.inode = 0xc, .device = 0x700, .mask = 0xfce,
                                        .handle = WatchedFileHandle{.type = 1, .bytes = {0x0c, 0, 0, 0, 0x14, 0xb2, 0xc3, 0xd4}}}));
    // 254:259, a minor above 255.
    EXPECT_EQ(watches[1].device, kernelDeviceNumber(makedev(254, 259)));
    EXPECT_EQ(watches[1].handle, std::nullopt);
    // A handle whose length disagrees with its bytes is no handle.
    EXPECT_EQ(watches[2].handle, std::nullopt);
    EXPECT_TRUE(parseInotifyWatches(std::string(500, ':') + "\ninotify \n\n").empty());
}

std::optional<uid_t> testUser() {
    const char* name = std::getenv("KESTRIX_TEST_USER");
    const passwd* account = getpwnam(name != nullptr ? name : "kestrix-test");
    if (account == nullptr) return std::nullopt;
    return account->pw_uid;
}

class WatchedDocumentsOnALoopDrive : public testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
        std::ofstream(mount_ + "/notes.txt") << "unsaved";
        mkdir((mount_ + "/Photos").c_str(), 0755);
        std::ofstream(mount_ + "/Photos/beach.jpg") << "picture";
        chmod((mount_ + "/notes.txt").c_str(), 0644);
    }

    DriveScope scope() const {
        struct stat status {};
        stat(mount_.c_str(), &status);
        return DriveScope{.devices = {kernelDeviceNumber(status.st_dev)}, .mountPaths = {mount_}};
    }

    // A process watching as an editor does: the document for changes, and the folder it
    // works in, which is not on the drive.
    test::ChildProcess editor(std::optional<uid_t> user = std::nullopt) const {
        return test::ChildProcess([this, user] {
            // Its /proc stays its own user's to read, as an editor's is.
            if (user && (setuid(*user) != 0 || prctl(PR_SET_DUMPABLE, 1) != 0)) return false;
            const int watcher = inotify_init1(0);
            return watcher >= 0 && inotify_add_watch(watcher, (mount_ + "/notes.txt").c_str(), IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE) >= 0 &&
                   inotify_add_watch(watcher, "/tmp", IN_CREATE | IN_DELETE | IN_MODIFY) >= 0;
        });
    }

    test::LoopDrive loop_{{.folderPrefix = "kestrix-watches", .labelPrefix = "KestrixWatch"}};
    const std::string mount_ = loop_.mountPath();
};

// The kernel's sdev, read back from a real watch, is the drive's device number.
TEST_F(WatchedDocumentsOnALoopDrive, AnAppWatchingADocumentHoldsItAndOnlyAnApp) {
    const test::ChildProcess app = editor();
    const test::ChildProcess indexer = editor();
    // A file manager showing a folder of the drive.
    const test::ChildProcess fileManager([this] {
        const int watcher = inotify_init1(0);
        return watcher >= 0 && inotify_add_watch(watcher, (mount_ + "/Photos").c_str(), IN_CREATE | IN_DELETE | IN_MODIFY) >= 0;
    });
    const HolderScanner scanner{.source = std::make_shared<ProcfsSource>(),
                                .ownPID = getpid(),
                                .appLookup = [&](std::int32_t pid) -> std::optional<AppIdentity> {
                                    if (pid != app.pid() && pid != fileManager.pid()) return std::nullopt;
                                    return AppIdentity{.name = "Mousepad", .isRegular = true};
                                }};
    const ScanResult result = scanner.scan(scope().devices, scope().mountPaths, false);

    ASSERT_EQ(result.holders.size(), 1u);
    const Holder& holder = result.holders.front();
    EXPECT_EQ(holder.pid, app.pid());
    ASSERT_EQ(holder.holds.size(), 1u);
    EXPECT_EQ(holder.holds.front(), (Hold{.kind = HoldKind::watchedFile, .path = mount_ + "/notes.txt"}));
    EXPECT_EQ(HelperCatalog::holdLine(holder.holds.front()), "Has notes.txt open");
}

// Without the right to open file handles, the document is found among the drive's folders.
TEST_F(WatchedDocumentsOnALoopDrive, AnOrdinaryUserFindsTheDocumentInTheDrivesFolders) {
    const std::optional<uid_t> user = testUser();
    if (!user) GTEST_SKIP() << "no account kestrix-test to run as (useradd -m kestrix-test, or set KESTRIX_TEST_USER)";
    const test::ChildProcess app = editor(user);
    const pid_t watching = app.pid();
    // The reader runs as that user too; it stays only when it found the document.
    const test::ChildProcess reader([&] {
        if (setuid(*user) != 0) return false;
        const WatchedDocuments documents(scope());
        const filesupport::OwnedDescriptor process(open(("/proc/" + std::to_string(watching)).c_str(), O_PATH | O_DIRECTORY));
        std::vector<std::string> inotify;
        procfs::openDescriptors(process.get(), [&](int folder, const char* number) -> std::optional<VnodeRef> {
            if (const auto facts = procfs::fileFacts(folder, number); facts && documents.isInotify(folder, number, *facts)) {
                inotify.emplace_back(number);
            }
            return std::nullopt;
        });
        const std::vector<VnodeRef> found = documents.documents(process.get(), inotify);
        return found.size() == 1 && found.front().path == mount_ + "/notes.txt";
    });
    EXPECT_FALSE(reader.hasExited()) << "the ordinary user did not find notes.txt";
}

}  // namespace

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "UDisks2/TestSupport/Eventually.h"
#include "UDisks2/TestSupport/LoopImage.h"
#include "UDisks2/TestSupport/OrdinaryUser.h"
#include "UDisks2/TestSupport/ServiceMount.h"
#include "UDisks2/TestSupport/UDisks2Daemon.h"
#include "kestrixctl/Tests/RunKestrixctl.h"
#include "UDisks2/TestSupport/UserSessionRules.h"

using kestrix::test::LoopImage;
using kestrixctl::testing::RunResult;

namespace {

// kestrixctl run by an ordinary user against the real disk service and polkit on a private
// system bus, the services started once for all the tests.
class OrdinaryUserEject : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto found = kestrix::test::ordinaryUser();
        if (const auto* reason = std::get_if<std::string>(&found)) {
            skipReason_ = *reason;
            return;
        }
        user_ = std::get<kestrix::test::OrdinaryUser>(found);
        if (runAsUser({"/usr/bin/test", "-x", KESTRIXCTL_PATH}).status != 0) {
            skipReason_ = user_->name + " cannot run " KESTRIXCTL_PATH " (a folder on the way is closed to others)";
            return;
        }
        daemon_ = std::make_unique<kestrix::test::UDisks2Daemon>(kestrix::test::userSessionRules(user_->name));
        skipReason_ = daemon_->skipReason();
    }
    static void TearDownTestSuite() { daemon_.reset(); }

    void SetUp() override {
        if (skipReason_) GTEST_SKIP() << *skipReason_;
    }

    static std::string busVariable() { return "DBUS_SYSTEM_BUS_ADDRESS=" + daemon_->bus().address(); }

    static RunResult runAsUser(const std::vector<std::string>& words) {
        return kestrixctl::testing::runCommand(user_->command({"LANGUAGE=en", "LANG=C.UTF-8"}, words));
    }

    // kestrixctl as the user, on the private system bus, with no terminal.
    static RunResult kestrixctl(std::vector<std::string> words) {
        words.insert(words.begin(), KESTRIXCTL_PATH);
        words.insert(words.begin(), busVariable());
        return runAsUser(words);
    }

    // The same in a terminal of its own, as typed there: everything it shows comes out on stdout.
    static RunResult kestrixctlInTerminal(std::vector<std::string> words) {
        words.insert(words.begin(), KESTRIXCTL_PATH);
        const std::string line = user_->shellLine({busVariable(), "LANGUAGE=en", "LANG=C.UTF-8"}, words);
        return kestrixctl::testing::runCommand({"/usr/bin/script", "--quiet", "--return", "--flush", "--command", line,
                                                "/dev/null"});
    }

    static std::optional<std::string> mountThroughTheService(const LoopImage& image) {
        return kestrix::test::mountThroughTheService(*daemon_, image, *user_);
    }

    static std::string both(const RunResult& result) { return result.out + result.err; }

    static std::optional<std::string> skipReason_;
    static std::optional<kestrix::test::OrdinaryUser> user_;
    static std::unique_ptr<kestrix::test::UDisks2Daemon> daemon_;
};

std::optional<std::string> OrdinaryUserEject::skipReason_;
std::optional<kestrix::test::OrdinaryUser> OrdinaryUserEject::user_;
std::unique_ptr<kestrix::test::UDisks2Daemon> OrdinaryUserEject::daemon_;

}  // namespace

// The user's own stick, mounted by the desktop under /media/USER: the kernel's calls would refuse
// it ("Operation not permitted"); the disk service lets its user eject it without a password.
TEST_F(OrdinaryUserEject, OwnDriveMountedThroughTheDiskServiceEjects) {
    const LoopImage image("KxOwn");
    if (image.skipReason()) GTEST_SKIP() << *image.skipReason();
    const std::optional<std::string> mounted = mountThroughTheService(image);
    ASSERT_TRUE(mounted) << "udisksctl mount as " << user_->name << " failed";
    EXPECT_EQ(mounted->rfind("/media/" + user_->name + "/", 0), 0u) << *mounted;

    const RunResult result = kestrixctl({"eject", "--show-disk-images", image.label()});
    EXPECT_EQ(result.status, 0) << both(result);
    EXPECT_NE(result.out.find(image.label() + " ejected."), std::string::npos) << both(result);
    EXPECT_FALSE(image.mountPoint());
    EXPECT_TRUE(kestrix::test::eventually([&] { return !image.isAttached(); }));

    // The attempt went into the user's own history.
    struct stat history {};
    ASSERT_EQ(stat((user_->home + "/.local/share/com.orvane.kestrix/history.json").c_str(), &history), 0);
    EXPECT_EQ(history.st_uid, user_->uid);
}

// Drives root mounted for everyone: polkit refuses one outright and wants an administrator's password for the
// other, which nothing can ask for here. Each refusal is a sentence and exit status 1.
TEST_F(OrdinaryUserEject, RefusalsAreSentencesWithExitStatusOne) {
    LoopImage refused("KxNo"), password("KxPw");
    if (refused.skipReason()) GTEST_SKIP() << *refused.skipReason();
    if (password.skipReason()) GTEST_SKIP() << *password.skipReason();
    ASSERT_TRUE(refused.mountAsRoot());
    ASSERT_TRUE(password.mountAsRoot());

    const RunResult notAllowed = kestrixctl({"eject", "--show-disk-images", refused.label()});
    EXPECT_EQ(notAllowed.status, 1) << both(notAllowed);
    EXPECT_NE(both(notAllowed).find("The system couldn\u2019t eject " + refused.label() +
                                    " (your account isn\u2019t allowed to do this)."),
              std::string::npos)
        << both(notAllowed);
    EXPECT_TRUE(refused.mountPoint());

    const RunResult noAgent = kestrixctl({"eject", "--show-disk-images", password.label()});
    EXPECT_EQ(noAgent.status, 1) << both(noAgent);
    EXPECT_NE(both(noAgent).find("(it needs a password, and no polkit agent is running to ask for it)."),
              std::string::npos)
        << both(noAgent);
    EXPECT_NE(noAgent.err.find("Run kestrixctl in a terminal to type it there"), std::string::npos) << both(noAgent);

    const RunResult noPassword = kestrixctl({"--no-password", "eject", "--show-disk-images", password.label()});
    EXPECT_EQ(noPassword.status, 1) << both(noPassword);
    EXPECT_NE(noPassword.err.find("--no-password kept kestrixctl from asking"), std::string::npos) << both(noPassword);
    EXPECT_TRUE(password.mountPoint());
}

// Root's shell sitting on the user's drive: the user may not look into it, so it is counted as
// hidden, never named, and the drive is in use by something the system keeps to itself.
TEST_F(OrdinaryUserEject, AnotherUsersHolderIsHiddenAndTheDriveIsInUseWithoutAName) {
    const LoopImage image("KxHid");
    if (image.skipReason()) GTEST_SKIP() << *image.skipReason();
    const std::optional<std::string> mounted = mountThroughTheService(image);
    ASSERT_TRUE(mounted);
    kestrix::test::ChildProcess rootShell({"/bin/sleep", "600"}, *mounted);

    const RunResult check = kestrixctl({"check", "--show-disk-images", image.label()});
    EXPECT_EQ(check.out.find("sleep"), std::string::npos) << both(check);
    EXPECT_EQ(check.out.find("End"), std::string::npos) << both(check);

    const RunResult eject = kestrixctl({"eject", "--show-disk-images", image.label()});
    EXPECT_EQ(eject.status, 1) << both(eject);
    EXPECT_NE(both(eject).find(image.label() + " is still in use by a system service."), std::string::npos)
        << both(eject);
    EXPECT_EQ(both(eject).find("sleep"), std::string::npos) << both(eject);
    EXPECT_TRUE(image.mountPoint());
}

// A cheap stick (2 MiB/s) with 60 MiB just written to it: the kernel writes for about half a
// minute, longer than D-Bus waits by default. On a terminal kestrixctl shows what is left on one
// line it writes over, and says "ejected" only once the stick is really done; with --json the
// terminal shows nothing but the report.
TEST_F(OrdinaryUserEject, ASlowFlushIsShownWhileItLastsAndTheEjectWaitsItOut) {
    constexpr std::uint64_t pace = 2 * 1024 * 1024;
    const LoopImage slow("KxSlow", {.sizeMiB = 96, .writeBytesPerSecond = pace});
    const LoopImage brief("KxBrief", {.sizeMiB = 24, .writeBytesPerSecond = pace});
    for (const LoopImage* image : {&slow, &brief}) {
        if (image->skipReason()) GTEST_SKIP() << *image->skipReason();
    }
    const std::optional<std::string> slowMount = mountThroughTheService(slow);
    const std::optional<std::string> briefMount = mountThroughTheService(brief);
    ASSERT_TRUE(slowMount && briefMount);
    ASSERT_TRUE(kestrix::test::runQuietly("dd if=/dev/zero of='" + *slowMount + "/film' bs=1M count=60 status=none"));
    ASSERT_TRUE(kestrix::test::runQuietly("dd if=/dev/zero of='" + *briefMount + "/clip' bs=1M count=8 status=none"));

    const RunResult json = kestrixctlInTerminal({"eject", "--json", "--show-disk-images", brief.label()});
    EXPECT_EQ(json.status, 0) << both(json);
    EXPECT_EQ(json.out.find("Writing"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"verdict\""), std::string::npos) << json.out;

    const RunResult shown = kestrixctlInTerminal({"eject", "--show-disk-images", slow.label()});
    EXPECT_EQ(shown.status, 0) << both(shown);
    const std::string writing = "\rWriting ";
    const std::size_t first = shown.out.find(writing);
    ASSERT_NE(first, std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find(" MB to " + slow.label() + "\u2026 Don\u2019t unplug it yet (about "), std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find(writing, first + 1), std::string::npos) << "the line is written over as it goes";
    // The line is cleared before the result, which comes last.
    const std::size_t result = shown.out.find(slow.label() + " ejected. It\u2019s safe to unplug.");
    ASSERT_NE(result, std::string::npos) << shown.out;
    EXPECT_LT(shown.out.rfind(writing), result);
    EXPECT_NE(shown.out.find("\r\x1b[K", shown.out.rfind(writing)), std::string::npos) << shown.out;
    EXPECT_FALSE(slow.mountPoint());
    EXPECT_TRUE(kestrix::test::eventually([&] { return !slow.isAttached(); }));
}

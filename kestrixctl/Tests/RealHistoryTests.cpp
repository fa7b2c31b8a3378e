#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrixctl::testing::run;

namespace {

// An ext4 image loop-mounted at /media/kestrix-history-N/NAME, as a desktop mounts a disk image.
class RealHistory : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = drive.skipReason()) GTEST_SKIP() << *reason;
        if (run({"eject"}).err.find("unknown command") != std::string::npos) GTEST_SKIP() << "no eject command yet";
    }

    void TearDown() override {
        std::error_code error;
        if (!name.empty()) fs::remove(historyFile, error);
    }

    // sh sitting in the mounted folder, in a process group of its own; ":" keeps it from exec-ing sleep.
    void startShell() { shell.emplace(std::vector<std::string>{"/bin/sh", "-c", "sleep 60; :"}, drive.mountPath()); }
    void endShell() { shell.reset(); }

    kestrix::test::LoopDrive drive{{.folderPrefix = "kestrix-history", .labelPrefix = "KestrixHistory"}};
    const std::string name = drive.name();
    const std::string historyFile = "/tmp/" + name + ".json";
    std::optional<kestrix::test::ChildProcess> shell;
};

}  // namespace

TEST_F(RealHistory, ARefusedThenASuccessfulEjectNameTheShellAsRepeatOffender) {
    startShell();
    const auto refused = run({"--history", historyFile, "eject", name, "--show-disk-images"});
    EXPECT_EQ(refused.status, 1) << refused.out << refused.err;
    endShell();
    const auto ejected = run({"--history", historyFile, "eject", name, "--show-disk-images"});
    EXPECT_EQ(ejected.status, 0) << ejected.out << ejected.err;

    const auto history = run({"--history", historyFile, "history"});
    ASSERT_EQ(history.status, 0) << history.err;
    // Holders go by the name they were started by: "sh", though /bin/sh leads to dash.
    const std::string shellName = "sh";
    EXPECT_NE(history.out.find("Eject attempts: 2\nBlocked: 1\n"), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("  " + shellName + " — Blocked 1 time\n"), std::string::npos) << history.out;
    const auto ejectedLine = history.out.find("  " + name + " — Ejected — ");
    EXPECT_NE(ejectedLine, std::string::npos) << history.out;
    EXPECT_LT(ejectedLine, history.out.find("  " + name + " — In use: "));
}

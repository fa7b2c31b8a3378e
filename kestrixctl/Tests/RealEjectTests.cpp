#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ScopedMount.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrix::test::ChildProcess;
using kestrixctl::testing::run;

namespace {

// An ext4 image loop-mounted at /media/kestrix-eject-N/NAME, the way a desktop mounts a disk
// image; the commands see it with --show-disk-images.
class RealEject : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = drive.skipReason()) GTEST_SKIP() << *reason;
    }

    void TearDown() override {
        std::error_code error;
        if (!name.empty()) fs::remove(history, error);
    }

    // The command on the real system with the disk image listed, a history of its own, the
    // report as JSON on stdout and the trace on stderr.
    struct Outcome {
        int status = -1;
        nlohmann::json report;
        std::string trace;
    };
    Outcome kestrixctl(std::vector<std::string> words, const std::string& input = "") const {
        words.insert(words.end(), {"--trace", "--json", "--show-disk-images", "--history", history.string()});
        const auto result = run(words, input);
        return {result.status, nlohmann::json::parse(result.out.empty() ? "{}" : result.out), result.err};
    }

    kestrix::test::LoopDrive drive{{.folderPrefix = "kestrix-eject", .labelPrefix = "KestrixEject"}};
    const std::string name = drive.name();
    const std::string mountPath = drive.mountPath();
    const fs::path history = "/tmp/" + name + "-history.json";
};

std::vector<std::string> traceLines(const std::string& err, const std::string& call) {
    std::vector<std::string> found;
    std::istringstream stream(err);
    for (std::string line; std::getline(stream, line);) {
        if (line.starts_with(call)) found.push_back(line);
    }
    return found;
}

}  // namespace

TEST_F(RealEject, AShellSittingInTheDriveKeepsItWithoutAnUnmount) {
    const ChildProcess holder({"/bin/bash", "-c", "while :; do sleep 1; done"}, mountPath);
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.report.value("message", "").starts_with(name + " is in use by bash")) << result.report;
    const nlohmann::json& shell = result.report.at("verdict").at("holders").at(0);
    EXPECT_EQ(shell.at("kind"), "shell");
    EXPECT_EQ(shell.at("holds").at(0).at("kind"), "currentFolder");
    EXPECT_TRUE(traceLines(result.trace, "eject ").empty()) << result.trace;
    EXPECT_TRUE(drive.isMounted());
}

TEST_F(RealEject, AMappedFileIsFoundByTheDeepScanAfterTheKernelRefuses) {
    const std::string file = mountPath + "/mapped.bin";
    std::ofstream(file) << std::string(4096, 'k');
    const ChildProcess mapper([file] {
        const int descriptor = open(file.c_str(), O_RDONLY);
        void* mapping = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, descriptor, 0);
        close(descriptor);
        return mapping != MAP_FAILED;
    });
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.report.value("message", ""), name + " is in use by KestrixctlTests.");
    EXPECT_EQ(result.report.at("verdict").at("summary").at("deep"), true);
    EXPECT_EQ(result.report.at("verdict").at("holders").at(0).at("holds").at(0),
              (nlohmann::json{{"kind", "mappedFile"}, {"path", file}, {"writing", false}}));
    const std::vector<std::string> ejects = traceLines(result.trace, "eject ");
    ASSERT_EQ(ejects.size(), 1u) << result.trace;
    EXPECT_TRUE(ejects[0].ends_with("-> busy"));
    EXPECT_TRUE(drive.isMounted());
}

TEST_F(RealEject, AFileSystemMountedInsideIsHeldByTheSystemAfterOneRetry) {
    const std::string innerMount = mountPath + "/inner";
    fs::create_directory(innerMount);
    if (mount("kestrix", innerMount.c_str(), "tmpfs", 0, nullptr) != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs inside the image";
    }
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.report.value("message", ""), name + " is still in use by a system service. Try again in a moment.");
    EXPECT_EQ(result.report.at("verdict").at("holder"), nullptr);
    EXPECT_EQ(traceLines(result.trace, "sleep"), std::vector<std::string>{"sleep 1.5"});
    EXPECT_EQ(traceLines(result.trace, "eject ").size(), 2u) << result.trace;
    EXPECT_TRUE(drive.isMounted());
}

TEST_F(RealEject, QuitAndEjectEndsTheAllowedProgramAndEjects) {
    ChildProcess sleeper({"/bin/sleep", "300"}, mountPath);
    const auto result = kestrixctl({"quit-and-eject", name, "--end", std::to_string(sleeper.pid())});
    EXPECT_EQ(result.status, 0) << result.report << result.trace;
    EXPECT_EQ(result.report.value("message", ""), name + " ejected. It’s safe to unplug.");
    EXPECT_EQ(traceLines(result.trace, "endProcess"),
              std::vector<std::string>{"endProcess " + std::to_string(sleeper.pid()) + " -> true"});
    EXPECT_TRUE(sleeper.hasExited());
    EXPECT_FALSE(drive.isMounted());
    EXPECT_FALSE(drive.isAttached());
}

TEST_F(RealEject, AFreeDriveEjectsAndItsLoopDeviceIsGone) {
    const auto result = kestrixctl({"eject", name});
    EXPECT_EQ(result.status, 0) << result.trace;
    EXPECT_EQ(result.report.at("verdict").at("case"), "ejected");
    EXPECT_FALSE(drive.isMounted());
    EXPECT_FALSE(drive.isAttached());
    const auto again = kestrixctl({"eject", name});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.trace, "No drive named " + name + " is connected.\n");
}

TEST_F(RealEject, ForcingAsksFirstAndThenEjectsDespiteAHolder) {
    const ChildProcess holder({"/bin/bash", "-c", "while :; do sleep 1; done"}, mountPath);
    const auto declined = kestrixctl({"eject", name, "--force"}, "n\n");
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.trace.find("Force eject " + name + "?"), std::string::npos) << declined.trace;
    EXPECT_TRUE(declined.report.empty());
    EXPECT_TRUE(drive.isMounted());

    const auto forced = kestrixctl({"eject", name, "--force", "--yes"});
    EXPECT_EQ(forced.status, 0) << forced.report << forced.trace;
    EXPECT_EQ(forced.report.at("forced"), true);
    const std::vector<std::string> ejects = traceLines(forced.trace, "eject ");
    ASSERT_EQ(ejects.size(), 1u) << forced.trace;
    EXPECT_NE(ejects[0].find("force=true"), std::string::npos);
    EXPECT_FALSE(drive.isMounted());
}

TEST_F(RealEject, ForcingNeverTakesAnotherDriveMountedInsideAlong) {
    kestrix::test::LoopDrive other{{.folderPrefix = "kestrix-inside", .labelPrefix = "KxInside", .detachesOnUnmount = false}};
    if (const auto& reason = other.skipReason()) GTEST_SKIP() << *reason;
    const kestrix::test::ScopedMount inside(other.loopDevice(), mountPath + "/inside", "ext4");
    ASSERT_TRUE(inside.isMounted());
    const auto forced = kestrixctl({"eject", name, "--force", "--yes"});
    EXPECT_EQ(forced.status, 1) << forced.report << forced.trace;
    EXPECT_EQ(forced.report.at("verdict").at("case"), "failed");
    EXPECT_EQ(forced.report.at("verdict").at("message"),
              other.name() + " is mounted inside it; eject " + other.name() + " first");
    EXPECT_TRUE(kestrix::test::isMounted(inside.folder()));
    EXPECT_TRUE(drive.isMounted());
    EXPECT_TRUE(other.isAttached());
}

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "KestrixKit/Tests/Support/ScopedMount.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

namespace fs = std::filesystem;
using kestrix::test::commandOutput;
using kestrix::test::runQuietly;
using kestrixctl::testing::run;

namespace {

// A file on the drive attached to a loop device of its own, detached again when the test ends.
class AttachedImage {
public:
    explicit AttachedImage(const std::string& path) : path_(path) {
        if (runQuietly("truncate -s 4M '" + path + "' && mkfs.ext4 -q -F '" + path + "'")) {
            device_ = commandOutput("losetup -f --show '" + path + "' 2>/dev/null");
        }
    }
    AttachedImage(const AttachedImage&) = delete;
    AttachedImage& operator=(const AttachedImage&) = delete;
    ~AttachedImage() {
        if (!device_.empty()) runQuietly("losetup -d " + device_);
    }
    const std::string& device() const { return device_; }

private:
    std::string path_;
    std::string device_;
};

// A swap file on the drive in use, stopped again when the test ends.
class SwapFile {
public:
    explicit SwapFile(const std::string& path) : path_(path) {
        on_ = runQuietly("dd if=/dev/zero of='" + path + "' bs=1M count=1 && chmod 600 '" + path + "' && mkswap '" +
                         path + "' && swapon '" + path + "'");
    }
    SwapFile(const SwapFile&) = delete;
    SwapFile& operator=(const SwapFile&) = delete;
    ~SwapFile() {
        if (on_) runQuietly("swapoff '" + path_ + "'");
    }
    bool isOn() const { return on_; }

private:
    std::string path_;
    bool on_ = false;
};

class RealKernelHolders : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = drive.skipReason()) GTEST_SKIP() << *reason;
    }
    void TearDown() override {
        std::error_code error;
        fs::remove(history, error);
    }

    struct Outcome {
        int status = -1;
        nlohmann::json json;
    };
    Outcome kestrixctl(std::vector<std::string> words) const {
        words.insert(words.end(), {"--json", "--show-disk-images", "--history", history.string()});
        const auto result = run(words);
        return {result.status, nlohmann::json::parse(result.out.empty() ? "{}" : result.out)};
    }
    nlohmann::json kernelHolders() const { return kestrixctl({"check", name}).json.at("scan").at("kernelHolders"); }

    kestrix::test::LoopDrive drive{{.folderPrefix = "kestrix-kernel", .labelPrefix = "KernelHeld"}};
    const std::string name = drive.name();
    const std::string mountPath = drive.mountPath();
    const fs::path history = "/tmp/" + name + "-history.json";
};

}  // namespace

TEST_F(RealKernelHolders, ADiskImageOnTheDriveIsNamedAttachedAndThenMountedInsideBeforeAnyEject) {
    const std::string file = mountPath + "/disk.img";
    const AttachedImage image(file);
    if (image.device().empty()) GTEST_SKIP() << "cannot attach a second loop device";

    const auto checked = kestrixctl({"check", name});
    EXPECT_EQ(checked.status, 1);
    const nlohmann::json& attached = checked.json.at("scan").at("kernelHolders");
    ASSERT_EQ(attached.size(), 1u) << checked.json;
    EXPECT_EQ(attached[0].at("kind"), "diskImage");
    EXPECT_EQ(attached[0].at("name"), file);
    EXPECT_EQ(attached[0].at("device"), image.device());
    EXPECT_EQ(attached[0].at("advice"), "Detach disk.img first (udisksctl loop-delete -b " + image.device() + ").");
    const auto text = run({"check", name, "--show-disk-images"});
    EXPECT_NE(text.out.find("Disk image · " + file + "\n"), std::string::npos) << text.out;

    const auto refused = kestrixctl({"eject", name});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.json.value("message", ""), name + " is in use by the disk image disk.img.") << refused.json;
    EXPECT_TRUE(drive.isMounted());

    // Mounted inside the drive, as mount -o loop leaves it: the image is a drive of its own.
    const kestrix::test::ScopedMount inner(image.device(), mountPath + "/inner", "ext4");
    ASSERT_TRUE(inner.isMounted());
    const nlohmann::json both = kernelHolders();
    ASSERT_EQ(both.size(), 2u) << both;
    EXPECT_EQ(both[0].at("mountPath"), mountPath + "/inner");
    EXPECT_EQ(both[0].at("advice"), "Eject disk.img first.");
    EXPECT_EQ(both[1].at("kind"), "innerMount");
    EXPECT_EQ(both[1].at("device"), image.device());
    EXPECT_EQ(both[1].at("advice"), "Eject " + both[1].at("name").get<std::string>() + " first.");
}

TEST_F(RealKernelHolders, ASwapFileOnTheDriveIsNamedWithTheCommandThatStopsIt) {
    const std::string file = mountPath + "/swapfile";
    const SwapFile swap(file);
    if (!swap.isOn()) GTEST_SKIP() << "the kernel refuses swap on this machine (swapon failed)";
    const nlohmann::json held = kernelHolders();
    ASSERT_EQ(held.size(), 1u) << held;
    EXPECT_EQ(held[0].at("kind"), "swap");
    EXPECT_EQ(held[0].at("advice"), "Stop swap on it first (swapoff " + file + ", as an administrator).");
    const auto refused = kestrixctl({"eject", name});
    EXPECT_EQ(refused.json.value("message", ""), name + " is in use by swap on swapfile.") << refused.json;
    EXPECT_TRUE(drive.isMounted());
}

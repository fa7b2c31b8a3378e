#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MoreAppsKit/FlatpakInfo.h"
#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/Linux/MoreAppsNetwork.h"
#include "MoreAppsKit/MoreAppsCacheLocation.h"

using namespace moreapps;

TEST(MoreAppsCacheLocation, PrefersXdgThenHomeThenTemporaryFolder) {
    using MoreAppsCacheLocation::directory;
    const std::filesystem::path tmp = "/tmp";
    EXPECT_EQ(directory("/x/cache", "/home/u", tmp, "com.orvane.kestrix"), "/x/cache/com.orvane.kestrix/MoreApps");
    EXPECT_EQ(directory("relative", "/home/u", tmp, "com.orvane.kestrix"),
              "/home/u/.cache/com.orvane.kestrix/MoreApps");
    EXPECT_EQ(directory(std::nullopt, std::nullopt, tmp, std::nullopt), "/tmp/MoreAppsKit/MoreApps");
    EXPECT_EQ(directory("", "", tmp, ""), "/tmp/MoreAppsKit/MoreApps");
    EXPECT_EQ(directory("/c", std::nullopt, tmp, "../escape"), "/c/MoreAppsKit/MoreApps");
}

TEST(FlatpakInfo, NetworkMustBeInTheSharedListOfContext) {
    EXPECT_TRUE(FlatpakInfo::sharesNetwork("[Application]\nname=x\n\n[Context]\nshared=network;ipc;\n"));
    EXPECT_TRUE(FlatpakInfo::sharesNetwork("[Context]\r\n# note\r\nshared = ipc; network\r\n"));
    EXPECT_FALSE(FlatpakInfo::sharesNetwork("[Context]\nshared=ipc;\nsockets=network;\n"));
    EXPECT_FALSE(FlatpakInfo::sharesNetwork("[Instance]\nshared=network;\n[Context]\n"));
    EXPECT_FALSE(FlatpakInfo::sharesNetwork("[Context]\nshared=networking;\n"));
    EXPECT_FALSE(FlatpakInfo::sharesNetwork(""));
}

class LocalFileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("moreapps-store-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::filesystem::path root_;
};

TEST_F(LocalFileStoreTest, WritesAtomicallyAndReadsWithinALimit) {
    LocalFileStore store;
    const auto file = root_ / "a" / "b" / "feed.json";
    EXPECT_EQ(store.read(file, 100), std::nullopt);
    ASSERT_TRUE(store.writeAtomically(file, "first"));
    ASSERT_TRUE(store.writeAtomically(file, "second"));
    EXPECT_EQ(store.read(file, 100), "second");
    EXPECT_EQ(store.read(file, 3), "sec");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
    EXPECT_EQ(store.read(root_, 100), std::nullopt);
    EXPECT_FALSE(store.writeAtomically(file / "below-a-file", "x"));
}

TEST_F(LocalFileStoreTest, NetworkPermissionFollowsTheSandboxDescription) {
    const auto info = root_ / ".flatpak-info";
    EXPECT_TRUE(MoreAppsNetwork::allowsNetwork(info));
    LocalFileStore().writeAtomically(info, "[Context]\nshared=ipc;\n");
    EXPECT_FALSE(MoreAppsNetwork::allowsNetwork(info));
    LocalFileStore().writeAtomically(info, "[Context]\nshared=network;ipc;\n");
    EXPECT_TRUE(MoreAppsNetwork::allowsNetwork(info));
    std::filesystem::remove(info);
    std::filesystem::create_directory(info);  // present but unreadable as a file
    EXPECT_FALSE(MoreAppsNetwork::allowsNetwork(info));
}

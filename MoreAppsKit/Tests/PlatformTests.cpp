#include <gtest/gtest.h>

#include "MoreAppsKit/FlatpakInfo.h"
#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/Linux/MoreAppsNetwork.h"
#include "MoreAppsKit/MoreAppsCacheLocation.h"

using namespace moreapps;

TEST(MoreAppsCacheLocation, PrefersXdgThenHomeThenTemporaryFolder) {
    using MoreAppsCacheLocation::directory;
    EXPECT_EQ(directory("/x/cache", "/home/u", "/tmp", "com.orvane.kestrix"), "/x/cache/com.orvane.kestrix/MoreApps");
    EXPECT_EQ(directory("relative", "/home/u", "/tmp", "com.orvane.kestrix"),
              "/home/u/.cache/com.orvane.kestrix/MoreApps");
    EXPECT_EQ(directory(std::nullopt, "", "/tmp", std::nullopt), "/tmp/MoreAppsKit/MoreApps");
    EXPECT_EQ(directory("/c", std::nullopt, "/tmp", "../escape"), "/c/MoreAppsKit/MoreApps");
}

TEST(FlatpakInfo, NetworkMustBeInTheSharedListOfContext) {
    EXPECT_TRUE(FlatpakInfo::sharesNetwork("[Application]\nname=x\n\n[Context]\r\nshared = ipc; network\r\n"));
    EXPECT_FALSE(FlatpakInfo::sharesNetwork("[Context]\nshared=ipc;networking;\nsockets=network;\n"));
    EXPECT_FALSE(FlatpakInfo::sharesNetwork("[Instance]\nshared=network;\n[Context]\n"));
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
    LocalFileStore store_;
};

TEST_F(LocalFileStoreTest, WritesAtomicallyAndReadsWithinALimit) {
    const auto file = root_ / "a" / "b" / "feed.json";
    EXPECT_EQ(store_.read(file, 100), std::nullopt);
    ASSERT_TRUE(store_.writeAtomically(file, "first"));
    ASSERT_TRUE(store_.writeAtomically(file, "second"));
    EXPECT_EQ(store_.read(file, 100), "second");
    EXPECT_EQ(store_.read(file, 3), "sec");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);  // no temporaries left
    EXPECT_EQ(store_.read(root_, 100), std::nullopt);
    EXPECT_FALSE(store_.writeAtomically(file / "below-a-file", "x"));
}

TEST_F(LocalFileStoreTest, NetworkPermissionFollowsTheSandboxDescription) {
    const auto info = root_ / ".flatpak-info";
    EXPECT_TRUE(MoreAppsNetwork::allowsNetwork(info));
    store_.writeAtomically(info, "[Context]\nshared=ipc;\n");
    EXPECT_FALSE(MoreAppsNetwork::allowsNetwork(info));
    store_.writeAtomically(info, "[Context]\nshared=network;ipc;\n");
    EXPECT_TRUE(MoreAppsNetwork::allowsNetwork(info));
    std::filesystem::remove(info);
    std::filesystem::create_directory(info);  // present but unreadable as a file
    EXPECT_FALSE(MoreAppsNetwork::allowsNetwork(info));
}

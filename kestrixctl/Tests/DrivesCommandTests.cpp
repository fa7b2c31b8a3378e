#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;

TEST(DrivesCommand, DemoListsDrivesInTextAndJson) {
    const auto text = run({"--demo", "drives"});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Holiday — External drive · 64 GB, 12 GB free · /media/alex/Holiday"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Backup, Projects"), std::string::npos);

    const auto json = run({"drives", "--json", "--demo", "--show-disk-images", "--show-network-shares"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json drives = nlohmann::json::parse(json.out);
    ASSERT_EQ(drives.size(), 5u);
    EXPECT_EQ(drives[0].at("id"), "sdb");
    EXPECT_EQ(drives[0].at("volumes")[0].at("bsdName"), "sdb1");
    EXPECT_EQ(drives[4].at("volumes")[0].at("kind"), "networkShare");
}

TEST(DrivesCommand, EmptyWorldSaysSo) {
    const auto result = run({"--world", KESTRIXCTL_TEST_DATA "/empty-world.json", "drives"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "No external drives\n");
}

TEST(DrivesCommand, BadArgumentsAndWorldsExitWithStatusTwo) {
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"drives", "--bogus"}, {"drives", "extra"}, {"frobnicate"}, {}, {"--world"},
             {"--demo", "--world", "x", "drives"}, {"--world", "/nonexistent.json", "drives"},
             {"--world", KESTRIXCTL_TEST_DATA "/malformed-world.json", "drives"}}) {
        const auto result = run(words);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(words);
        EXPECT_FALSE(result.err.empty());
        EXPECT_TRUE(result.out.empty());
    }
    const auto help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--show-network-shares"), std::string::npos);
}

#include <gtest/gtest.h>

#include <sstream>

#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/Tests/TestFeeds.h"
#include "moreapps-lint/LintCommand.h"

using namespace moreapps;

namespace {

class LintCommandTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& content) {
        LocalFileStore().writeAtomically(folder_ / "feed.json", content);
        return (folder_ / "feed.json").string();
    }
    int run(const std::vector<std::string>& arguments) {
        out_.str({});
        err_.str({});
        return LintCommand::run(arguments, out_, err_);
    }
    static std::string feed(const std::string& firstId) {
        using fixtures::app;
        return fixtures::feed({app(firstId), app("site", "https://orvane.com/site"), app("shop", "https://x.gumroad.com/l")});
    }

    std::filesystem::path folder_ = std::filesystem::temp_directory_path() /
        ("moreapps-lint-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::ostringstream out_;
    std::ostringstream err_;
};

}  // namespace

TEST_F(LintCommandTest, ReportsTheVerdictOnOneLine) {
    EXPECT_EQ(run({write(feed("store"))}), 0);
    EXPECT_EQ(out_.str(), "ok: 3 apps\n");
    EXPECT_EQ(run({write(feed("Store"))}), 1);
    EXPECT_EQ(out_.str(), "invalid: id Store\n");
    EXPECT_EQ(run({write(R"({"schema":3,"apps":[]})")}), 1);
    EXPECT_EQ(out_.str(), "schema: 3\n");
    EXPECT_EQ(run({write(std::string(262145, ' '))}), 1);
    EXPECT_EQ(out_.str(), "tooLarge\n");
    EXPECT_EQ(run({write(feed("bad\nid\u202E\x1B[2J"))}), 1);
    EXPECT_EQ(out_.str(), "invalid: id bad\\u{A}id\\u{202E}\\u{1B}[2J\n");
}

TEST_F(LintCommandTest, ShowsTheLinksVisibleEntriesOpen) {
    const std::string file = write(feed("store"));
    EXPECT_EQ(run({"--show", "--this-app", "shop", "--utm-source", "lint", file}), 0);
    EXPECT_EQ(out_.str(),
              "ok: 3 apps\nstore\thttps://flathub.org/apps/com.example.One\n"
              "site\thttps://orvane.com/site?utm_source=lint&utm_medium=linux-app&utm_campaign=more-apps\n");
    EXPECT_EQ(run({"--show", "--app-store", file}), 0);
    EXPECT_EQ(out_.str(), "ok: 3 apps\nstore\thttps://flathub.org/apps/com.example.One\n");
}

TEST_F(LintCommandTest, BadArgumentsAndUnreadableFilesExit2) {
    const std::string file = write(feed("store"));
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {file, file}, {"--frobnicate", file}, {file, "--this-app"}, {"--direct", "--app-store", file}}) {
        EXPECT_EQ(run(arguments), 2);
        EXPECT_NE(err_.str().find("usage:"), std::string::npos);
    }
    EXPECT_EQ(run({(folder_ / "missing.json").string()}), 2);
    EXPECT_EQ(run({folder_.string()}), 2);
    EXPECT_EQ(out_.str(), "");
    EXPECT_NE(err_.str().find("cannot read"), std::string::npos);
}

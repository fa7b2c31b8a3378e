#pragma once

#include <gtest/gtest.h>

#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/MoreAppsLoader.h"
#include "TestFeeds.h"

namespace moreapps::fixtures {

// A loader on a fresh temporary cache folder, a settable clock and a scripted transport.
class LoaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("moreapps-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
        loader_ = {.feedURL = "https://orvane.com/linux/more-apps.json",
                   .cacheDirectory = root_ / "cache" / "MoreApps",
                   .bundled = [this] { return bundledData_; },
                   .now = [this] { return now_; },
                   .transport = [this](const MoreAppsRequest& request) -> MoreAppsTransportResult {
                       requests_.push_back(request);
                       return answer_;
                   },
                   .files = std::make_shared<LocalFileStore>()};
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    static MoreAppsResponse ok(const std::string& body) {
        return {.url = "https://orvane.com/linux/more-apps.json", .status = 200,
                .headers = {{"etag", "\"v2\""}, {"Last-Modified", "Tue, 02 Jan 2024 00:00:00 GMT"}}, .body = body};
    }

    std::filesystem::path cacheFile() const { return loader_.cacheDirectory / MoreAppsLoader::feedFileName; }
    void writeFile(const std::filesystem::path& file, const std::string& content) {
        ASSERT_TRUE(files_.writeAtomically(file, content));
    }
    std::string readFile(const std::filesystem::path& file) const { return files_.read(file, 1 << 20).value_or(""); }

    LocalFileStore files_;
    std::filesystem::path root_;
    MoreAppsDate now_ = dateFromSecondsSinceReferenceDate(750000000);
    std::optional<std::string> bundledData_;
    MoreAppsTransportResult answer_ = MoreAppsTransportError{"offline"};
    std::vector<MoreAppsRequest> requests_;
    MoreAppsLoader loader_;
};

}  // namespace moreapps::fixtures

#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/MoreAppsLoader.h"
#include "TestFeeds.h"

namespace moreapps::testing {

// A loader on a fresh temporary cache folder, a settable clock and a scripted transport.
class LoaderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("moreapps-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root_);
        loader_.cacheDirectory = root_ / "cache" / "MoreApps";
        loader_.now = [this] { return now_; };
        loader_.files = std::make_shared<LocalFileStore>();
        loader_.bundled = [this] { return bundledData_; };
        loader_.transport = [this](const MoreAppsRequest& request) -> MoreAppsTransportResult {
            requests_.push_back(request);
            return answer_;
        };
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    static MoreAppsResponse ok(const std::string& body) {
        return {.url = "https://orvane.com/mac/more-apps.json", .status = 200,
                .headers = {{"etag", "\"v2\""}, {"Last-Modified", "Tue, 02 Jan 2024 00:00:00 GMT"}}, .body = body};
    }

    std::filesystem::path cacheFile() const { return loader_.cacheDirectory / MoreAppsLoader::feedFileName; }
    std::filesystem::path metaFile() const { return loader_.cacheDirectory / MoreAppsLoader::metaFileName; }

    void writeFile(const std::filesystem::path& file, const std::string& content) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    std::string readFile(const std::filesystem::path& file) const {
        std::ifstream in(file, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::filesystem::path root_;
    MoreAppsDate now_ = dateFromSecondsSinceReferenceDate(750000000);
    std::optional<std::string> bundledData_;
    MoreAppsTransportResult answer_ = MoreAppsTransportError{"offline"};
    std::vector<MoreAppsRequest> requests_;
    MoreAppsLoader loader_;
};

}  // namespace moreapps::testing

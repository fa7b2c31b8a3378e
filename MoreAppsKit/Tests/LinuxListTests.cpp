#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include <unistd.h>

#include "MoreAppsKit/BundledFeed.h"
#include "MoreAppsKit/Linux/Distribution.h"
#include "MoreAppsKit/MoreAppsTexts.h"
#include "MoreAppsKit/MoreAppsValidator.h"
#include "MoreAppsKit/MoreAppsVisibility.h"

using namespace moreapps;

namespace {

// The other system's names that a Linux user must never read.
bool namesTheOtherSystem(const std::string& text) {
    static const std::regex words("macOS|\\bMac\\b|Finder|Spotlight|App Store|apps\\.apple\\.com|\u2318");
    return std::regex_search(text, words);
}

MoreAppsFeed bundledFeed() {
    auto parsed = MoreAppsValidator::parse(BundledFeed::data());
    return std::get<MoreAppsFeed>(std::move(parsed));
}

}  // namespace

TEST(LinuxList, EveryTextAndTheBuiltInFeedSpeakLinux) {
    const MoreAppsFeed feed = bundledFeed();
    for (const std::string language : {"en", "es"}) {
        std::vector<std::string> texts{MoreAppsTexts::title(language), MoreAppsTexts::seeAllTitle(language),
                                       MoreAppsTexts::footer(language, true), MoreAppsTexts::footer(language, false)};
        for (const MoreAppsEntry& entry : feed.apps) {
            texts.push_back(entry.shownName(language));
            texts.push_back(entry.shownDetail(language));
            texts.push_back(entry.url);
            texts.push_back(MoreAppsTexts::rowHelp(entry, language));
        }
        for (const std::string& text : texts) EXPECT_FALSE(namesTheOtherSystem(text)) << text;
    }
    EXPECT_EQ(MoreAppsTexts::title("en"), "More Linux Apps");
    EXPECT_EQ(MoreAppsTexts::footer("en", true), "Flathub apps open on Flathub; the others open on orvane.com.");
    EXPECT_EQ(MoreAppsTexts::footer("es", true), "Las apps de Flathub se abren en Flathub; las dem\u00e1s, en orvane.com.");
}

TEST(LinuxList, AFlatpakShowsOnlyFlathubApps) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("moreapps-flatpak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path info = folder / ".flatpak-info";
    EXPECT_TRUE(Distribution::isDirect(info));
    std::ofstream(info) << "[Application]\nname=com.orvane.Kestrix\n";
    EXPECT_FALSE(Distribution::isDirect(info));
    std::filesystem::remove_all(folder);

    const MoreAppsFeed feed = bundledFeed();
    const MoreAppsConfig inFlatpak{.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = false};
    const auto shown = MoreAppsVisibility::visibleApps(feed.apps, inFlatpak);
    ASSERT_FALSE(shown.empty());
    for (const MoreAppsEntry& entry : shown) EXPECT_TRUE(entry.pointsToAppStore()) << entry.url;
    const MoreAppsConfig direct{.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = true};
    EXPECT_GT(MoreAppsVisibility::visibleApps(feed.apps, direct).size(), shown.size());
}

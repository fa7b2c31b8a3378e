#include <gtest/gtest.h>

#include <thread>

#include "LoaderFixture.h"
#include "MoreAppsKit/CampaignLinks.h"
#include "MoreAppsKit/MoreAppsLanguage.h"
#include "MoreAppsKit/MoreAppsList.h"
#include "MoreAppsKit/MoreAppsTexts.h"

using namespace moreapps;
using namespace moreapps::fixtures;

TEST(MoreAppsLanguageTest, TakesTheFirstPreferredLanguageItSpeaksElseEnglish) {
    EXPECT_EQ(MoreAppsLanguage::choose({"fr-FR", "de"}), "en");
    EXPECT_EQ(MoreAppsLanguage::choose({"fr-FR", "es-MX", "en-US"}), "es");
    EXPECT_EQ(MoreAppsLanguage::choose({"fr", "en-GB", "es"}), "en");
    EXPECT_EQ(MoreAppsLanguage::choose({"es_ES.UTF-8"}), "es");
    EXPECT_EQ(MoreAppsLanguage::choose({"es-419"}), "es");
    EXPECT_EQ(MoreAppsLanguage::choose({}), "en");
    // "esperanto" is not "es": only a whole code counts.
    EXPECT_EQ(MoreAppsLanguage::choose({"esperanto", ""}), "en");
}

TEST(MoreAppsEntryTextsTest, LocalizedFieldsReplaceOnlyWhatTheyHave) {
    MoreAppsEntry entry{.id = "tern", .name = "Tern", .detail = "Renames files.", .symbol = "star", .tint = "blue",
                        .url = "https://flathub.org/apps/com.example.One",
                        .localized = {{"es", {.name = std::nullopt, .detail = "Renombra archivos."}},
                                      {"de", {.name = "Seeschwalbe", .detail = std::nullopt}}}};
    EXPECT_EQ(entry.shownName("es"), "Tern");
    EXPECT_EQ(entry.shownDetail("es"), "Renombra archivos.");
    EXPECT_EQ(entry.shownName("de"), "Seeschwalbe");
    EXPECT_EQ(entry.shownDetail("de"), "Renames files.");
    EXPECT_EQ(entry.shownDetail("en"), "Renames files.");
}

TEST(MoreAppsTextsTest, RowHelpNamesWhereTheLinkLeadsInTheChosenLanguage) {
    MoreAppsEntry entry{.id = "tern", .name = "Tern %2", .detail = "d", .symbol = "star", .tint = "blue",
                        .url = "https://flathub.org/apps/com.example.One"};
    EXPECT_EQ(MoreAppsTexts::rowHelp(entry, "en"), "Opens Tern %2 on Flathub");
    EXPECT_EQ(MoreAppsTexts::rowHelp(entry, "es"), "Abre Tern %2 en Flathub");
    entry.url = "https://www.orvane.com/tern";
    EXPECT_EQ(MoreAppsTexts::rowHelp(entry, "en"), "Opens Tern %2 on orvane.com");
    entry.url = "https://orvane.gumroad.com/l/tern";
    EXPECT_EQ(MoreAppsTexts::rowHelp(entry, "es"), "Abre Tern %2 en tu navegador");
    EXPECT_EQ(MoreAppsTexts::rowHelp(entry, "fr"), "Opens Tern %2 in your browser");
}

TEST(MoreAppsTextsTest, FooterFollowsHowTheBuildIsSold) {
    EXPECT_EQ(MoreAppsTexts::footer("en", false), "Each one opens on Flathub.");
    EXPECT_EQ(MoreAppsTexts::footer("en", true), "Flathub apps open on Flathub; the others open on orvane.com.");
    EXPECT_EQ(MoreAppsTexts::seeAllTitle("es"), "Ver todas las apps para Linux en orvane.com");
}

TEST(CampaignLinksTest, SeeAllUsesTheSourceOnlyWhenItIsAToken) {
    EXPECT_EQ(CampaignLinks::seeAllApps("kestrix"),
              "https://orvane.com/linux?utm_source=kestrix&utm_medium=linux-app&utm_campaign=more-apps&utm_content=all");
    EXPECT_EQ(CampaignLinks::seeAllApps("-kestrix"),
              "https://orvane.com/linux?utm_source=linux-app&utm_medium=linux-app&utm_campaign=more-apps&utm_content=all");
    EXPECT_EQ(CampaignLinks::seeAllApps("a&b=c"),
              "https://orvane.com/linux?utm_source=linux-app&utm_medium=linux-app&utm_campaign=more-apps&utm_content=all");
}

class MoreAppsRefreshTaskTest : public LoaderFixture {};

TEST_F(MoreAppsRefreshTaskTest, TaskRunsElsewhereAndOnlyItsResultChangesTheList) {
    writeFile(cacheFile(), feed({app("cached")}));
    answer_ = ok(feed({app("kestrix"), app("fresh")}));
    MoreAppsList list({.thisApp = "kestrix", .utmSource = "kestrix", .isDirect = true}, loader_);

    std::optional<MoreAppsFeed> fetched;
    std::thread([task = list.refreshTask(), &fetched] { fetched = task(); }).join();
    EXPECT_EQ(list.source(), MoreAppsSource::cache);
    list.showRefreshed(fetched);
    EXPECT_EQ(list.source(), MoreAppsSource::network);
    EXPECT_EQ(ids(list.apps()), std::vector<std::string>{"fresh"});

    list.showRefreshed(std::nullopt);
    EXPECT_EQ(ids(list.apps()), std::vector<std::string>{"fresh"});

    MoreAppsList offline({.thisApp = "kestrix", .allowsNetwork = false}, loader_);
    now_ += std::chrono::hours(25);
    EXPECT_FALSE(offline.refreshTask()());
    EXPECT_EQ(requests_.size(), 1u);
}

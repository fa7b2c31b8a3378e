#include <gtest/gtest.h>

#include "MoreAppsKit/BundledFeed.h"
#include "TestFeeds.h"

using namespace moreapps;
using namespace moreapps::testing;

namespace {

MoreAppsError invalid(const std::string& text) { return MoreAppsError::invalid(text); }

nlohmann::json with(nlohmann::json entry, const std::string& key, const nlohmann::json& value) {
    entry[key] = value;
    return entry;
}

}  // namespace

TEST(MoreAppsValidator, SizeIsCheckedBeforeDecoding) {
    std::string padded = feed({app("a")});
    padded.append(MoreAppsValidator::maximumBytes - padded.size(), ' ');
    EXPECT_EQ(errorOf(padded), std::nullopt);
    EXPECT_EQ(errorOf(padded + " "), MoreAppsError::tooLarge());
    EXPECT_EQ(errorOf(std::string(262145, '{')), MoreAppsError::tooLarge());
}

TEST(MoreAppsValidator, DecodingFailuresAreNotJSON) {
    EXPECT_EQ(errorOf(""), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf("[]"), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(R"({"schema":1})"), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(R"({"schema":"1","apps":[]})"), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(R"({"schema":1.5,"apps":[]})"), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(R"({"schema":18446744073709551615,"apps":[]})"), MoreAppsError::notJSON());
    auto missingURL = app("a");
    missingURL.erase("url");
    EXPECT_EQ(errorOf(feed({missingURL})), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(feed({with(app("a"), "name", nullptr)})), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(feed({with(app("a"), "bundleId", 7)})), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf(feed({with(app("a"), "localized", {{"de", {{"name", 1}}}})})), MoreAppsError::notJSON());
    EXPECT_EQ(errorOf("{\"schema\":1,\"apps\":[{\"id\":\"\xff\"}]}"), MoreAppsError::notJSON());
}

TEST(MoreAppsValidator, UnknownKeysAndNullOptionalsAreAccepted) {
    auto entry = with(with(app("a"), "extra", {1, 2}), "bundleId", nullptr);
    const auto parsed = validFeed(R"({"schema":1.0,"note":"x","apps":[)" + entry.dump() + "]}");
    EXPECT_EQ(parsed.apps.at(0).bundleId, std::nullopt);
}

TEST(MoreAppsValidator, SchemaThenCount) {
    EXPECT_EQ(errorOf(feed({}, 2)), MoreAppsError::schema(2));
    EXPECT_EQ(errorOf(feed({}, 1)), MoreAppsError::count(0));
    std::vector<nlohmann::json> apps;
    for (int index = 0; index < 61; ++index) apps.push_back(app("app" + std::to_string(index)));
    EXPECT_EQ(errorOf(feed(apps)), MoreAppsError::count(61));
    apps.pop_back();
    EXPECT_EQ(errorOf(feed(apps)), std::nullopt);
}

TEST(MoreAppsValidator, Identifiers) {
    EXPECT_EQ(errorOf(feedWith(app(std::string(60, 'a')))), std::nullopt);
    const std::string longId = std::string(60, 'a') + "b";
    EXPECT_EQ(errorOf(feedWith(app(longId))), invalid("id " + std::string(60, 'a')));
    EXPECT_EQ(errorOf(feedWith(app("-lead"))), invalid("id -lead"));
    EXPECT_EQ(errorOf(feedWith(app("Upper"))), invalid("id Upper"));
    EXPECT_EQ(errorOf(feedWith(app(""))), invalid("id "));
    EXPECT_EQ(errorOf(feedWith(app("a_b"))), invalid("id a_b"));
    // The quoted prefix counts characters, not bytes: an emoji family is one.
    const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
    std::string manyFamilies;
    for (int index = 0; index < 61; ++index) manyFamilies += family;
    std::string sixty;
    for (int index = 0; index < 60; ++index) sixty += family;
    EXPECT_EQ(errorOf(feedWith(app(manyFamilies))), invalid("id " + sixty));
    EXPECT_EQ(errorOf(feed({app("same"), app("other"), app("same")})), invalid("duplicate id same"));
}

TEST(MoreAppsValidator, EntryRulesInOrder) {
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "bundleId", ""))), invalid("bundleId of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "bundleId", "com.example app"))), invalid("bundleId of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "bundleId", std::string(101, 'a')))), invalid("bundleId of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "bundleId", "Com.Example-1"))), std::nullopt);

    EXPECT_EQ(errorOf(feedWith(with(app("a"), "name", std::string(41, 'n')))), invalid("name of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "name", " \t "))), invalid("name of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "name", "Line\u2028Two"))), invalid("name of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "detail", std::string(121, 'd')))), invalid("detail of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "detail", "Zero\u200Bwidth"))), invalid("detail of a"));

    EXPECT_EQ(errorOf(feedWith(with(app("a"), "symbol", ""))), invalid("symbol of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "symbol", "Star.fill"))), invalid("symbol of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "symbol", std::string(61, 's')))), invalid("symbol of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "tint", "Blue"))), invalid("tint of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "tint", "grey"))), invalid("tint of a"));
    EXPECT_EQ(errorOf(feedWith(with(app("a"), "url", "http://orvane.com/"))), invalid("url of a"));

    // Several broken fields: the earliest rule wins.
    auto broken = with(with(with(app("a"), "name", ""), "tint", "x"), "bundleId", "?");
    EXPECT_EQ(errorOf(feedWith(broken)), invalid("bundleId of a"));
    // The first broken entry ends validation.
    EXPECT_EQ(errorOf(feed({with(app("x"), "tint", "x"), with(app("y"), "name", "")})), invalid("tint of x"));
}

TEST(MoreAppsValidator, LocalizedTexts) {
    auto localized = [](const nlohmann::json& texts) { return feedWith(with(app("a"), "localized", texts)); };
    EXPECT_EQ(errorOf(localized({{"de", {{"name", "Name"}}}, {"fr", nlohmann::json::object()}})), std::nullopt);
    EXPECT_EQ(errorOf(localized({{"EN", {{"name", "Name"}}}})), invalid("language of a"));
    EXPECT_EQ(errorOf(localized({{"eng", {{"name", "Name"}}}})), invalid("language of a"));
    EXPECT_EQ(errorOf(localized({{"de", {{"name", std::string(41, 'n')}}}})), invalid("de name of a"));
    EXPECT_EQ(errorOf(localized({{"de", {{"name", "  "}}}})), invalid("de name of a"));
    EXPECT_EQ(errorOf(localized({{"de", {{"detail", "Tab\there"}}}})), invalid("de detail of a"));
    EXPECT_EQ(errorOf(localized({{"de", {{"detail", std::string(120, 'd')}}}})), std::nullopt);
}

TEST(MoreAppsValidator, BuiltInFeedPasses) {
    const auto data = BundledFeed::data();
    EXPECT_EQ(errorOf(std::string(data)), std::nullopt);
    EXPECT_FALSE(validFeed(std::string(data)).apps.empty());
}

#include <gtest/gtest.h>

#include "MoreAppsKit/BundledFeed.h"
#include "TestFeeds.h"

using namespace moreapps;
using namespace moreapps::fixtures;

namespace {

MoreAppsError invalid(const std::string& text) { return MoreAppsError::invalid(text); }

std::optional<MoreAppsError> errorWith(const std::string& key, const nlohmann::json& value) {
    auto entry = app("a");
    entry[key] = value;
    return errorOf(feedWith(entry));
}

}  // namespace

TEST(MoreAppsValidator, SizeIsCheckedBeforeDecoding) {
    std::string padded = feed({app("a")});
    padded.append(MoreAppsValidator::maximumBytes - padded.size(), ' ');
    EXPECT_EQ(errorOf(padded), std::nullopt);
    EXPECT_EQ(errorOf(padded + " "), MoreAppsError::tooLarge());
}

TEST(MoreAppsValidator, DecodingFailuresAreNotJSON) {
    for (const char* data : {"", "[]", R"({"schema":1})", R"({"schema":"1","apps":[]})", R"({"schema":1.5,"apps":[]})",
                             R"({"schema":18446744073709551615,"apps":[]})", "{\"schema\":1,\"apps\":[{\"id\":\"\xff\"}]}"}) {
        EXPECT_EQ(errorOf(data), MoreAppsError::notJSON()) << data;
    }
    auto missingURL = app("a");
    missingURL.erase("url");
    EXPECT_EQ(errorOf(feed({missingURL})), MoreAppsError::notJSON());
    EXPECT_EQ(errorWith("name", nullptr), MoreAppsError::notJSON());
    EXPECT_EQ(errorWith("bundleId", 7), MoreAppsError::notJSON());
    EXPECT_EQ(errorWith("localized", {{"de", {{"name", 1}}}}), MoreAppsError::notJSON());
    // Unknown keys, null optionals and a whole number written as 1.0 are fine.
    EXPECT_EQ(errorOf(R"({"schema":1.0,"note":"x","apps":[)" + app("a").dump() + "]}"), std::nullopt);
    EXPECT_EQ(errorWith("bundleId", nullptr), std::nullopt);
    // The feed must be one document: nothing may follow it, not even after a NUL.
    const std::string valid = feed({app("a")});
    for (const std::string& data : {valid + std::string(1, '\0') + "junk", valid + std::string(1, '\0'), valid + "{}"}) {
        EXPECT_EQ(errorOf(data), MoreAppsError::notJSON()) << data;
    }
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
    EXPECT_EQ(errorOf(feedWith(app(std::string(60, 'a') + "b"))), invalid("id " + std::string(60, 'a')));
    EXPECT_EQ(errorOf(feedWith(app("-lead"))), invalid("id -lead"));
    EXPECT_EQ(errorOf(feedWith(app("Upper"))), invalid("id Upper"));
    EXPECT_EQ(errorOf(feedWith(app(""))), invalid("id "));
    // The quoted prefix counts characters, not bytes: an emoji family is one.
    const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
    std::string sixty;
    for (int index = 0; index < 60; ++index) sixty += family;
    EXPECT_EQ(errorOf(feedWith(app(sixty + family))), invalid("id " + sixty));
    EXPECT_EQ(errorOf(feed({app("same"), app("other"), app("same")})), invalid("duplicate id same"));
}

TEST(MoreAppsValidator, EntryRulesInOrder) {
    EXPECT_EQ(errorWith("bundleId", ""), invalid("bundleId of a"));
    EXPECT_EQ(errorWith("bundleId", std::string(101, 'a')), invalid("bundleId of a"));
    EXPECT_EQ(errorWith("name", std::string(41, 'n')), invalid("name of a"));
    EXPECT_EQ(errorWith("name", " \t "), invalid("name of a"));
    EXPECT_EQ(errorWith("name", "Line\u2028Two"), invalid("name of a"));
    EXPECT_EQ(errorWith("detail", std::string(121, 'd')), invalid("detail of a"));
    EXPECT_EQ(errorWith("symbol", "Star.fill"), invalid("symbol of a"));
    EXPECT_EQ(errorWith("tint", "grey"), invalid("tint of a"));
    EXPECT_EQ(errorWith("url", "http://orvane.com/"), invalid("url of a"));

    // Several broken fields: the earliest rule wins; the first broken entry ends validation.
    auto broken = app("a");
    broken.update({{"name", ""}, {"tint", "x"}, {"bundleId", "?"}});
    EXPECT_EQ(errorOf(feedWith(broken)), invalid("bundleId of a"));
    auto badTint = app("x");
    badTint["tint"] = "x";
    EXPECT_EQ(errorOf(feed({badTint, broken})), invalid("tint of x"));
}

TEST(MoreAppsValidator, LocalizedTexts) {
    auto localized = [](const nlohmann::json& texts) { return errorWith("localized", texts); };
    EXPECT_EQ(localized({{"de", {{"name", "Name"}}}, {"fr", nlohmann::json::object()}}), std::nullopt);
    EXPECT_EQ(localized({{"EN", {{"name", "Name"}}}}), invalid("language of a"));
    EXPECT_EQ(localized({{"eng", {{"name", "Name"}}}}), invalid("language of a"));
    EXPECT_EQ(localized({{"de", {{"name", std::string(41, 'n')}}}}), invalid("de name of a"));
    EXPECT_EQ(localized({{"de", {{"name", "  "}}}}), invalid("de name of a"));
    EXPECT_EQ(localized({{"de", {{"detail", "Tab\there"}}}}), invalid("de detail of a"));
}

TEST(MoreAppsValidator, BuiltInFeedPasses) {
    EXPECT_EQ(errorOf(std::string(BundledFeed::data())), std::nullopt);
}

#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Updates/DailyCheck.h"
#include "KestrixApp/Desktop/Updates/ProbeResult.h"
#include "KestrixApp/Desktop/Updates/UpdateTexts.h"
#include "KestrixApp/Desktop/Updates/VersionOrder.h"
#include "KestrixKit/Linux/Text/Translations.h"

#include <cstdlib>
#include <optional>
#include <string>

// gettext's signal that the language changed while the program runs.
extern "C" int _nl_msg_cat_cntr;

namespace {

using namespace kestrix::desktop;
using namespace std::chrono_literals;

TEST(ProbeResultRules, EveryStatusClass) {
    const std::pair<std::optional<int>, ProbeResult> table[] = {
        {std::nullopt, ProbeResult::unreachable}, {200, ProbeResult::reachable},   {204, ProbeResult::reachable},
        {299, ProbeResult::reachable},            {300, ProbeResult::unreachable}, {301, ProbeResult::unreachable},
        {199, ProbeResult::unreachable},          {404, ProbeResult::noFeed},      {410, ProbeResult::noFeed},
        {405, ProbeResult::reachable},            {501, ProbeResult::reachable},   {403, ProbeResult::unreachable},
        {500, ProbeResult::unreachable},          {503, ProbeResult::unreachable}, {0, ProbeResult::unreachable},
    };
    for (const auto& [status, expected] : table) {
        EXPECT_EQ(probeResult(status), expected) << (status ? std::to_string(*status) : "no answer");
    }
}

TEST(VersionOrderRules, ComponentsCompareAsNumbers) {
    EXPECT_EQ(compareVersions("1.10", "1.9"), std::strong_ordering::greater);
    EXPECT_EQ(compareVersions("0.1", "0.2"), std::strong_ordering::less);
    EXPECT_EQ(compareVersions("0.9.9", "1"), std::strong_ordering::less);
    EXPECT_EQ(compareVersions("10", "9.99"), std::strong_ordering::greater);
    EXPECT_EQ(compareVersions("0.1.1", "0.1"), std::strong_ordering::greater);
}

TEST(VersionOrderRules, MissingZerosAndSuffixesDoNotCount) {
    EXPECT_EQ(compareVersions("1.0", "1"), std::strong_ordering::equal);
    EXPECT_EQ(compareVersions("1.0.0", "1"), std::strong_ordering::equal);
    EXPECT_EQ(compareVersions("01.002", "1.2"), std::strong_ordering::equal);
    EXPECT_EQ(compareVersions("2-beta", "2"), std::strong_ordering::equal);
    EXPECT_EQ(compareVersions("", "0"), std::strong_ordering::equal);
}

TEST(VersionOrderRules, NumbersLongerThanAnyIntegerStillCompare) {
    EXPECT_EQ(compareVersions("1.99999999999999999999999999", "1.99999999999999999999999998"), std::strong_ordering::greater);
    EXPECT_EQ(compareVersions("100000000000000000000000000", "99999999999999999999999999"), std::strong_ordering::greater);
}

TEST(VersionOrderRules, AVersionStartsWithADigit) {
    EXPECT_TRUE(isVersion("0.2"));
    EXPECT_FALSE(isVersion(""));
    EXPECT_FALSE(isVersion("v1.2"));
    EXPECT_FALSE(isVersion("latest"));
}

TEST(DailyCheckRules, WaitsForWhatIsLeftOfTheDay) {
    const auto now = QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(delayUntilNextCheck(std::nullopt, now), 0ms) << "never checked: check now";
    EXPECT_EQ(delayUntilNextCheck(QDateTime(), now), 0ms);
    EXPECT_EQ(delayUntilNextCheck(now.addSecs(-2 * 3600), now), 22h);
    EXPECT_EQ(delayUntilNextCheck(now, now), 24h);
    EXPECT_EQ(delayUntilNextCheck(now.addDays(-3), now), 0ms);
    EXPECT_EQ(delayUntilNextCheck(now.addDays(30), now), 24h) << "a clock set back never postpones beyond a day";
}

TEST(UpdateTextsRules, TheAlertsSayExactlyThis) {
    EXPECT_EQ(upToDateNotice("Kestrix", "0.1"),
              (UpdateNotice{"You’re up to date", "Kestrix 0.1 is the newest version. Kestrix checks for updates on "
                                                 "its own and will let you know when there’s a new one."}));
    EXPECT_EQ(couldNotCheckNotice("Kestrix"),
              (UpdateNotice{"Couldn’t check for updates", "Check your internet connection and try again. Kestrix also "
                                                          "checks on its own about once a day."}));
    EXPECT_EQ(newVersionNotice("Kestrix", "0.1", "0.2").title, "Kestrix 0.2 is available");
    EXPECT_EQ(upToDateNotice("%2 App", "%1").message.left(12), "%2 App %1 is") << "names are not read as placeholders";
}

TEST(UpdateTextsRules, TheAlertsSpeakTheUsersLanguage) {
    const std::optional<std::string> before = std::getenv("LANGUAGE") ? std::optional<std::string>(std::getenv("LANGUAGE")) : std::nullopt;
    ::setenv("LANGUAGE", "es", 1);
    ++_nl_msg_cat_cntr;
    kestrix::Translations::use(kestrix::Translations::folder());
    const UpdateNotice notice = couldNotCheckNotice("Kestrix");
    const UpdateNotice available = newVersionNotice("Kestrix", "0.1", "0.2");
    if (before) ::setenv("LANGUAGE", before->c_str(), 1);
    else ::unsetenv("LANGUAGE");
    ++_nl_msg_cat_cntr;
    EXPECT_EQ(notice.title, "No se pudo buscar actualizaciones");
    EXPECT_EQ(available.title, "Kestrix 0.2 está disponible");
}

}  // namespace

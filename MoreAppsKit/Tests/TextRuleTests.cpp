#include <gtest/gtest.h>

#include "MoreAppsKit/Characters.h"
#include "MoreAppsKit/FieldRules.h"

using namespace moreapps;

TEST(Characters, CountsUserPerceivedCharacters) {
    EXPECT_EQ(Characters::count(""), 0u);
    EXPECT_EQ(Characters::count("abc"), 3u);
    EXPECT_EQ(Characters::count("e\u0301"), 1u);  // e and a combining accent
    EXPECT_EQ(Characters::count("\r\n"), 1u);
    EXPECT_EQ(Characters::count("\U0001F1E9\U0001F1EA"), 1u);  // a flag
    EXPECT_EQ(Characters::prefix("e\u0301xyz", 2), "e\u0301x");
    EXPECT_EQ(Characters::prefix("ab", 5), "ab");
}

TEST(FieldRules, TextRuleCountsCharactersNotBytes) {
    std::string accented;
    for (int index = 0; index < 40; ++index) accented += "e\u0301";
    EXPECT_TRUE(FieldRules::passesTextRule(accented, 40));
    EXPECT_FALSE(FieldRules::passesTextRule(accented + "x", 40));
    EXPECT_TRUE(FieldRules::passesTextRule("  padded  ", 10));
    EXPECT_FALSE(FieldRules::passesTextRule("", 10));
}

TEST(FieldRules, TextRuleRefusesInvisibleAndUnassignedScalars) {
    for (const char* bad : {"a\nb", "a\x7f", "a\u0085b", "a\u00ADb", "a\u202Eb", "a\u2029b", "a\uE000b",
                            "a\U000F0000b", "a\u0378b", "a\xC3"}) {
        EXPECT_FALSE(FieldRules::passesTextRule(bad, 40)) << bad;
    }
    EXPECT_TRUE(FieldRules::passesTextRule("Caf\u00E9 \u2014 \U0001F600", 40));
}

TEST(FieldRules, Tokens) {
    EXPECT_TRUE(FieldRules::isToken("kestrix-2"));
    EXPECT_FALSE(FieldRules::isToken(""));
    EXPECT_FALSE(FieldRules::isToken("-x"));
    EXPECT_FALSE(FieldRules::isToken("k\u00E9"));
    EXPECT_FALSE(FieldRules::isToken(std::string(61, 'a')));
}

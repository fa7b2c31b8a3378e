#include <gtest/gtest.h>

#include "MoreAppsKit/FieldRules.h"

using namespace moreapps;

TEST(FieldRules, TextRuleCountsUserPerceivedCharacters) {
    std::string accented;
    for (int index = 0; index < 40; ++index) accented += "e\u0301";  // e and a combining accent: one character
    EXPECT_TRUE(FieldRules::passesTextRule(accented, 40));
    EXPECT_FALSE(FieldRules::passesTextRule(accented + "x", 40));
    EXPECT_TRUE(FieldRules::passesTextRule("\U0001F1E9\U0001F1EA", 1));  // a flag
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

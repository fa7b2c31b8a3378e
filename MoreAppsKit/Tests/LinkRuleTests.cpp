#include <gtest/gtest.h>

#include "MoreAppsKit/LinkRule.h"

using namespace moreapps;

TEST(LinkRule, AcceptsTheAllowedHosts) {
    for (const char* url : {"https://orvane.com", "https://orvane.com/kestrix", "https://www.orvane.com/a/b",
                            "https://ORVANE.com/x", "https://flathub.org/apps/com.example.One",
                            "https://gumroad.com/l/x", "https://orvane.gumroad.com/l/x"}) {
        EXPECT_TRUE(LinkRule::accepts(url)) << url;
    }
}

TEST(LinkRule, RefusesEverythingElse) {
    for (const char* url : {
             "https://orvane.com/?a=1", "https://orvane.com/#top", "https://orvane.com/?", "http://orvane.com/",
             "HTTPS://orvane.com/", "ftp://orvane.com/", "https://orvane.com:443/", "https://orvane.com:/",
             "https://user@orvane.com/", "https://user:pw@orvane.com/", "https://@orvane.com/",
             "https://evil.com/", "https://orvane.com.evil.com/", "https://mail.orvane.com/",
             "https://evilgumroad.com/", "https://.gumroad.com/", "https://gumroad.com.evil/",
             "https:///path", "https:orvane.com", "//orvane.com/", "https://orvane.com/a b",
             "https://orvane.com/\t", "https://orvane.com/\u00A0", "https://orvane.com/%zz", "",
             "https://[::1]/"}) {
        EXPECT_FALSE(LinkRule::accepts(url)) << url;
    }
}

TEST(LinkRule, TheStoreIsFlathubNotTheOtherSystemsStore) {
    EXPECT_TRUE(LinkRule::accepts("https://flathub.org/apps/com.orvane.Plover"));
    for (const char* url : {"https://apps.apple.com/app/plover/id6450000001", "https://www.flathub.org/apps/x",
                            "https://flathub.org.evil.com/apps/x", "https://dl.flathub.org/repo/x"}) {
        EXPECT_FALSE(LinkRule::accepts(url)) << url;
    }
}

TEST(LinkRule, AtMost200Characters) {
    const std::string base = "https://orvane.com/";
    EXPECT_TRUE(LinkRule::accepts(base + std::string(200 - base.size(), 'p')));
    EXPECT_FALSE(LinkRule::accepts(base + std::string(201 - base.size(), 'p')));
}

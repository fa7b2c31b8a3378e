#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Quitting/GApplicationAddress.h"

using kestrix::desktop::GApplicationAddress;
using kestrix::desktop::gApplicationAddress;

TEST(GApplicationAddress, ComesFromTheDesktopEntryIdWithOrWithoutItsSuffix) {
    EXPECT_EQ(gApplicationAddress("org.gnome.eog"), (GApplicationAddress{"org.gnome.eog", "/org/gnome/eog"}));
    EXPECT_EQ(gApplicationAddress("org.gnome.eog.desktop"), (GApplicationAddress{"org.gnome.eog", "/org/gnome/eog"}));
    EXPECT_EQ(gApplicationAddress("org.example.Text-Editor_2"),
              (GApplicationAddress{"org.example.Text-Editor_2", "/org/example/Text_Editor_2"}));
}

TEST(GApplicationAddress, IsAbsentForIdsNoAppCanHave) {
    for (const char* id : {"", ".desktop", "firefox", "firefox.desktop", "org..example", ".org.example", "org.example.",
                           "org.2example", "org.exa mple", "org.exämple", "org/example"}) {
        EXPECT_EQ(gApplicationAddress(id), std::nullopt) << id;
    }
    EXPECT_EQ(gApplicationAddress("a." + std::string(300, 'b')), std::nullopt);
}

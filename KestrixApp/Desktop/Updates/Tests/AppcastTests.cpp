#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Updates/Appcast.h"

namespace {

using kestrix::desktop::AppcastRelease;
using kestrix::desktop::newestRelease;

const QUrl feed("https://orvane.com/kestrix/appcast.xml");

QByteArray appcast(const QByteArray& items) {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="https://orvane.com/kestrix/appcast-fields"><channel>
<title>Kestrix</title><link>https://orvane.com/kestrix</link>)" +
           items + "</channel></rss>";
}

TEST(Appcast, VersionsComeFromElementsOrEnclosureAttributes) {
    EXPECT_EQ(newestRelease(appcast(R"(<item><title>0.2</title><sparkle:shortVersionString>0.2</sparkle:shortVersionString>
        <sparkle:version>20</sparkle:version><link>https://orvane.com/kestrix/0.2</link></item>)"),
                            feed),
              (AppcastRelease{"0.2", QUrl("https://orvane.com/kestrix/0.2")}))
        << "the short version wins over the build number";
    EXPECT_EQ(newestRelease(appcast(R"(<item><enclosure url="https://orvane.com/kestrix/kestrix-0.3.tar.gz"
        sparkle:version="31" sparkle:shortVersionString="0.3" length="1" type="application/gzip"/></item>)"),
                            feed),
              (AppcastRelease{"0.3", QUrl("https://orvane.com/kestrix/kestrix-0.3.tar.gz")}))
        << "without a <link> the enclosure is the download";
    EXPECT_EQ(newestRelease(appcast(R"(<item><sparkle:version>0.4</sparkle:version><link>/kestrix/0.4</link></item>)"), feed),
              (AppcastRelease{"0.4", QUrl("https://orvane.com/kestrix/0.4")}))
        << "links are relative to the feed";
}

TEST(Appcast, TheNewestItemWinsWhateverItsPlace) {
    const auto found = newestRelease(
        appcast(R"(<item><sparkle:version>1.9</sparkle:version><link>https://a.example/1.9</link></item>
                   <item><sparkle:version>1.10</sparkle:version><link>https://a.example/1.10</link></item>
                   <item><sparkle:version>1.2</sparkle:version><link>https://a.example/1.2</link></item>)"),
        feed);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->version, "1.10");
}

TEST(Appcast, ItemsWithoutAVersionOrAWebLinkAreSkipped) {
    const auto found = newestRelease(
        appcast(R"(<item><sparkle:version>9.0</sparkle:version><link>file:///etc/passwd</link></item>
                   <item><sparkle:version>8.0</sparkle:version><link>javascript:alert(1)</link></item>
                   <item><title>No version</title><link>https://a.example/none</link></item>
                   <item><sparkle:version>latest</sparkle:version><link>https://a.example/latest</link></item>
                   <item><sparkle:version> 0.5 </sparkle:version><link> https://a.example/0.5 </link></item>)"),
        feed);
    EXPECT_EQ(found, (AppcastRelease{"0.5", QUrl("https://a.example/0.5")}));
}

TEST(Appcast, WhatCannotBeReadIsUnreadable) {
    EXPECT_EQ(newestRelease("", feed), std::nullopt);
    EXPECT_EQ(newestRelease("not xml at all", feed), std::nullopt);
    EXPECT_EQ(newestRelease(appcast(""), feed), std::nullopt) << "no items";
    EXPECT_EQ(newestRelease(appcast("<item><title>0.2</title><link>https://a.example/</link></item>"), feed),
              std::nullopt)
        << "no versions";
    EXPECT_EQ(newestRelease(appcast(R"(<item><sparkle:version>0.2</sparkle:version><link>https://a.example/</link>)"), feed),
              std::nullopt)
        << "cut off";
    EXPECT_EQ(newestRelease(R"(<rss><channel><item><sparkle:version>0.2</sparkle:version>
        <link>https://a.example/</link></item></channel></rss>)", feed),
              std::nullopt)
        << "an undeclared namespace is not well-formed";
    EXPECT_EQ(newestRelease(R"(<?xml version="1.0"?><!DOCTYPE r [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
        <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;"><!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;"><!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">]>
        <rss><channel><item><link>&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;</link></item></channel></rss>)", feed),
              std::nullopt)
        << "entities that expand without end";
}

}  // namespace

#include <gtest/gtest.h>

#include "kestrixctl/Tests/RunKestrixctl.h"

namespace {

using kestrixctl::testing::run;

TEST(UrlCommand, PrintsTheLinksCommandAsJsonOrNull) {
    const auto eject = run({"url", "kestrix://eject?drive=Travel%20SSD"});
    EXPECT_EQ(eject.status, 0);
    EXPECT_EQ(eject.out, "{\"command\":\"eject\",\"drive\":\"Travel SSD\"}\n");
    EXPECT_EQ(run({"url", "kestrix:eject-all"}).out, "{\"command\":\"ejectAll\"}\n");
    const auto other = run({"url", "https://example.org"});
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.out, "null\n");
}

}  // namespace

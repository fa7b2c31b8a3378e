#include <gtest/gtest.h>

#include "KestrixKit/Ejection/Dissenter.h"

using namespace kestrix;

TEST(Dissenter, PidIsAWholeNumberWithinThePidRange) {
    const auto pid = [](const char* json) { return Dissenter::pid(nlohmann::json::parse(json)); };
    EXPECT_EQ(pid(R"({"DAProcessID": 512})"), 512);
    EXPECT_EQ(pid(R"({"DAProcessID": 0, "other": "x"})"), 0);
    EXPECT_EQ(pid(R"({"DAProcessID": 2147483647})"), 2147483647);
    EXPECT_EQ(pid(R"({"DAProcessID": 512.0})"), 512);
    EXPECT_EQ(pid(R"({"DAProcessID": -1})"), std::nullopt);
    EXPECT_EQ(pid(R"({"DAProcessID": 2147483648})"), std::nullopt);
    // Larger numbers are not cut down to 32 bits into some other process's id.
    EXPECT_EQ(pid(R"({"DAProcessID": 4294967808})"), std::nullopt);
    EXPECT_EQ(pid(R"({"DAProcessID": 512.5})"), std::nullopt);
    EXPECT_EQ(pid(R"({"DAProcessID": 1e300})"), std::nullopt);
    EXPECT_EQ(pid(R"({"DAProcessID": "512"})"), std::nullopt);
    EXPECT_EQ(pid(R"({"DAProcessID": true})"), std::nullopt);
    EXPECT_EQ(pid(R"({"DAProcessID": null})"), std::nullopt);
    EXPECT_EQ(pid(R"({"pid": 512})"), std::nullopt);
    EXPECT_EQ(pid(R"([512])"), std::nullopt);
}

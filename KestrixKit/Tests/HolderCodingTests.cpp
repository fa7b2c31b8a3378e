#include <gtest/gtest.h>

#include "KestrixKit/Holders/HolderCoding.h"

using namespace kestrix;

TEST(HolderCoding, RoundTripsWithTheFieldNames) {
    const Holder holder{.pid = 412, .name = "Preview",
                        .executablePath = "/Applications/Preview.app/Contents/MacOS/Preview",
                        .appBundlePath = "/Applications/Preview.app", .uid = 501,
                        .app = AppIdentity{.name = "Preview", .bundleID = "com.apple.Preview", .isRegular = true},
                        .kind = HelperKind::app,
                        .holds = {{HoldKind::openFile, "/Volumes/Photos/IMG_1.jpg", true}}};
    const nlohmann::json json = holder;
    EXPECT_EQ(json, nlohmann::json::parse(R"({"pid":412,"name":"Preview",
        "executablePath":"/Applications/Preview.app/Contents/MacOS/Preview","appBundlePath":"/Applications/Preview.app",
        "uid":501,"app":{"name":"Preview","bundleID":"com.apple.Preview","isRegular":true},"kind":"app",
        "holds":[{"kind":"openFile","path":"/Volumes/Photos/IMG_1.jpg","writing":true}],"namedByMacOS":false})"));
    EXPECT_EQ(json.get<Holder>(), holder);

    const Holder bare{.pid = 7, .name = "PID 7", .kind = HelperKind::commandLine, .namedByMacOS = true};
    const nlohmann::json bareJSON = bare;
    EXPECT_FALSE(bareJSON.contains("executablePath") || bareJSON.contains("appBundlePath") || bareJSON.contains("app"));
    EXPECT_EQ(bareJSON.get<Holder>(), bare);

    const ScanResult scan{.holders = {bare}, .checked = 3, .hidden = 2, .deep = true, .seconds = 0.5};
    EXPECT_EQ(nlohmann::json(scan).get<ScanResult>(), scan);
    EXPECT_EQ(nlohmann::json(HolderAction::waitAndRetry), "waitAndRetry");
}

TEST(HolderCoding, RejectsUnknownRawValues) {
    EXPECT_THROW(nlohmann::json("wizard").get<HelperKind>(), nlohmann::json::exception);
    EXPECT_THROW(nlohmann::json::parse(R"({"kind":"openfile","path":"/x","writing":false})").get<Hold>(),
                 nlohmann::json::exception);
    EXPECT_THROW(nlohmann::json::parse(R"({"name":"X"})").get<AppIdentity>(), nlohmann::json::exception);
}

#include <gtest/gtest.h>

#include "KestrixKit/Simulated/SimulatedProcessSource.h"
#include "KestrixKit/Simulated/World.h"

using namespace kestrix;

namespace {

World worldOf(std::string_view text) {
    WorldLoadResult loaded = parseWorld(text);
    if (auto* error = std::get_if<WorldError>(&loaded)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<World>(std::move(loaded));
}

}  // namespace

TEST(HolderWorld, DecodesProcessesWithTheirDefaults) {
    const World world = worldOf(R"({"processes": [
        {"pid": 5, "name": "tool", "openFiles": [{"path": "/Volumes/A/x"}], "mappedFiles": null},
        {"pid": 6, "name": "hidden", "openFiles": null, "basicsUnreadable": true, "currentFolder": {"path": "/w", "device": 3},
         "app": {"name": "Hidden", "isRegular": true}, "comment": "unknown keys are ignored"},
        {"pid": 7}
    ]})");
    EXPECT_EQ(world.currentUID, 501u);
    EXPECT_FALSE(world.ownPID);
    auto system = std::make_shared<SimulatedSystem>(world);
    const SimulatedProcessSource source(system);
    EXPECT_EQ(source.allPIDs(), (std::vector<std::int32_t>{5, 6, 7}));
    EXPECT_EQ(source.openFiles(5), (std::vector<VnodeRef>{{"/Volumes/A/x", 0, false}}));
    EXPECT_FALSE(source.mappedFiles(5));
    EXPECT_FALSE(source.currentFolder(5));
    EXPECT_EQ(source.basics(5), (ProcessBasics{.pid = 5, .name = "tool"}));
    EXPECT_FALSE(source.openFiles(6));
    EXPECT_FALSE(source.basics(6));
    EXPECT_EQ(source.currentFolder(6), (VnodeRef{"/w", 3, false}));
    EXPECT_EQ(source.app(6), (AppIdentity{.name = "Hidden", .isRegular = true}));
    EXPECT_FALSE(source.openFiles(7));
    EXPECT_FALSE(source.basics(99));

    // A process that leaves the running world is gone for the source too.
    system->world().processes.erase(system->world().processes.begin());
    EXPECT_EQ(source.allPIDs(), (std::vector<std::int32_t>{6, 7}));
    EXPECT_FALSE(source.basics(5));
}

TEST(HolderWorld, RejectsMalformedProcesses) {
    for (const std::string_view text :
         {R"({"processes": [{"name": "no pid"}]})", R"({"processes": {"pid": 1}})",
          R"({"processes": [{"pid": 1, "openFiles": {"path": "/x"}}]})",
          R"({"processes": [{"pid": 1, "openFiles": [{"path": "/x", "device": -1}]}]})",
          R"({"processes": [{"pid": 1, "currentFolder": {"device": 1}}]})",
          R"({"processes": [{"pid": 1, "app": "Preview"}]})", R"({"currentUID": "me"})",
          R"({"ownPID": 1.5})"}) {
        EXPECT_TRUE(std::holds_alternative<WorldError>(parseWorld(text))) << text;
    }
    const World demo = demoWorld();
    EXPECT_EQ(demo.ownPID, 900);
    EXPECT_FALSE(demo.processes.empty());
}

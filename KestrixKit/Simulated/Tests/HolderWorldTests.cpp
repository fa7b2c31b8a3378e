#include <gtest/gtest.h>

#include <chrono>

#include "KestrixKit/Holders/HolderScanner.h"
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
    // A world that dates no process starts them all at 0.
    EXPECT_EQ(source.basics(5), (ProcessBasics{.pid = 5, .name = "tool", .startTime = 0}));
    EXPECT_FALSE(source.openFiles(6));
    EXPECT_FALSE(source.basics(6));
    EXPECT_EQ(source.currentFolder(6), (VnodeRef{"/w", 3, false}));
    EXPECT_EQ(source.app(6), (AppIdentity{.name = "Hidden", .isRegular = true}));
    EXPECT_FALSE(source.openFiles(7));
    EXPECT_FALSE(source.basics(99));

    // A process that leaves the running world is gone for the source too.
    const std::int32_t first = system->world().processes.front().pid;
    system->removeProcesses([&](const WorldProcess& process) { return process.pid == first; });
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

TEST(HolderWorld, ProcessesAreFoundByPidSoLargeWorldsScanQuickly) {
    // A pid listed twice is the first one listed, as a lookup by pid has always found.
    auto small = std::make_shared<SimulatedSystem>(worldOf(R"({"processes": [
        {"pid": 5, "name": "first"}, {"pid": 5, "name": "second"}, {"pid": 6, "name": "other"}]})"));
    EXPECT_EQ(small->process(5)->basics->name, "first");
    small->removeProcesses([](const WorldProcess& process) { return process.basics->name == "first"; });
    EXPECT_EQ(small->process(5)->basics->name, "second");
    EXPECT_EQ(small->process(6)->basics->name, "other");
    EXPECT_EQ(small->process(7), nullptr);

    // 100,000 processes, each with an open file, one of them on the drive: lookups that walk the
    // list take half a minute here, an index well under a second.
    World world;
    for (std::int32_t pid = 2; pid < 100'002; ++pid) {
        world.processes.push_back({.pid = pid, .basics = ProcessBasics{.pid = pid, .name = "p"},
                                   .openFiles = std::vector<VnodeRef>{{"/elsewhere", 1, false}}});
    }
    world.processes.back().openFiles = std::vector<VnodeRef>{{"/media/Stick/a", 7, false}};
    const HolderScanner scanner{.source = std::make_shared<SimulatedProcessSource>(
                                    std::make_shared<SimulatedSystem>(std::move(world)))};
    const auto started = std::chrono::steady_clock::now();
    const ScanResult result = scanner.scan({7}, {"/media/Stick"}, false);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    ASSERT_EQ(result.holders.size(), 1u);
    EXPECT_EQ(result.holders.front().pid, 100'001);
}

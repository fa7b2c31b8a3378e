#include <gtest/gtest.h>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Simulated/SimulatedEjector.h"
#include "KestrixKit/Simulated/SimulatedTimeMachineRunner.h"
#include "KestrixKit/TimeMachine/TimeMachine.h"

using namespace kestrix;

namespace {

std::shared_ptr<SimulatedSystem> systemFrom(const std::string& json) {
    WorldLoadResult result = parseWorld(json);
    if (const auto* error = std::get_if<WorldError>(&result)) ADD_FAILURE() << error->message;
    return std::make_shared<SimulatedSystem>(std::get<World>(std::move(result)));
}

std::string errorOf(const std::string& json) {
    const WorldLoadResult result = parseWorld(json);
    const auto* error = std::get_if<WorldError>(&result);
    return error ? error->message : "";
}

const Drive photos{.id = "disk4", .volumes = {DriveVolume{.name = "Photos", .mountPath = "/Volumes/Photos"}}};

}  // namespace

TEST(SimulatedEjector, GivesTheDrivesOutcomesInOrderThenEjects) {
    const auto system = systemFrom(R"({
      "volumes": [ { "path": "/Volumes/Photos" }, { "path": "/Volumes/Other" } ],
      "ejector": { "disk4": [
        { "outcome": "busy", "volume": "Photos", "pid": 512, "status": "0xF8DA0002" },
        { "outcome": "busy", "volume": "Photos", "status": 49168 },
        { "outcome": "failed", "status": -119930877, "message": "Not permitted" },
        { "outcome": "failed", "volume": "Photos", "status": 4175036421 }, { "outcome": "unmountedOnly" } ] } })");
    SimulatedEjector ejector(system);
    EXPECT_EQ(ejector.eject(photos, false),
              (EjectOutcome{EjectOutcome::Busy{.volume = "Photos", .pid = 512, .status = DAStatus::busy}}));
    EXPECT_EQ(ejector.eject(photos, true),
              (EjectOutcome{EjectOutcome::Busy{.volume = "Photos", .pid = std::nullopt, .status = DAStatus::unixBusy}}));
    EXPECT_EQ(ejector.eject(photos, false),
              (EjectOutcome{EjectOutcome::Failed{.volume = std::nullopt, .status = DAStatus::notPermitted, .message = "Not permitted"}}));
    EXPECT_EQ(ejector.eject(photos, false),
              (EjectOutcome{EjectOutcome::Failed{.volume = "Photos", .status = DAStatus::notFound, .message = std::nullopt}}));
    EXPECT_EQ(system->world().volumes.size(), 2u);
    EXPECT_EQ(ejector.eject(photos, false), EjectOutcome{EjectOutcome::UnmountedOnly{}});
    EXPECT_EQ(ejector.eject(photos, false), EjectOutcome{EjectOutcome::Ejected{}});
    ASSERT_EQ(system->world().volumes.size(), 1u);
    EXPECT_EQ(system->world().volumes[0].facts.path, "/Volumes/Other");
}

TEST(SimulatedEjector, MalformedOutcomesAreWorldErrors) {
    EXPECT_EQ(errorOf(R"({"ejector": {"disk4": [{"outcome": "gone"}]}})"),
              "ejector.disk4[0].outcome: expected busy, failed, ejected, unmountedOnly or detached");
    EXPECT_EQ(errorOf(R"({"ejector": {"disk4": [{"outcome": "busy", "volume": "P"}]}})"), "ejector.disk4[0].status: missing");
    for (const char* status : {R"("0x1FFFFFFFF")", R"("F8DA0002")", R"("0x")", "4294967296", "1.5"}) {
        EXPECT_EQ(errorOf(std::string(R"({"ejector": {"d": [{"outcome": "failed", "status": )") + status + "}]}}"),
                  "ejector.d[0].status: expected a 32-bit number or a \"0x\" hexadecimal string")
            << status;
    }
}

TEST(SimulatedTimeMachine, PrintsTheWorldsTextOrCannotStart) {
    const auto system = systemFrom(R"({ "timeMachine": {
        "status": "Running = 1;\nBackupPhase = Copying;", "destinationinfo": "Mount Point : /Volumes/Backup",
        "stopbackup": { "exit": 0, "output": "Stopped\n" } } })");
    const TimeMachineRunner tmutil = simulatedTimeMachineRunner(system);
    EXPECT_EQ(TimeMachine::read(tmutil), (TimeMachineStatus{.running = true, .phase = "Copying", .progress = std::nullopt,
                                                            .destinationMountPoints = {"/Volumes/Backup"}}));
    EXPECT_EQ(tmutil({"startbackup"}), std::nullopt);
    EXPECT_EQ(TimeMachine::stopBackup(tmutil), std::make_pair(true, std::string("Stopped")));
    // The stopped backup no longer runs.
    EXPECT_EQ(TimeMachine::read(tmutil), TimeMachineStatus{});

    const auto failing = systemFrom(R"({ "timeMachine": { "status": "Running = 1;", "stopbackup": { "exit": 1 } } })");
    EXPECT_EQ(TimeMachine::stopBackup(simulatedTimeMachineRunner(failing)), std::make_pair(false, std::string()));
    EXPECT_TRUE(TimeMachine::read(simulatedTimeMachineRunner(failing))->running);

    const TimeMachineRunner absent = simulatedTimeMachineRunner(systemFrom("{}"));
    EXPECT_EQ(TimeMachine::read(absent), std::nullopt);
}

TEST(SimulatedWorld, DemoWorldHasABackupRunningToTheBackupDisk) {
    const auto status = TimeMachine::read(simulatedTimeMachineRunner(std::make_shared<SimulatedSystem>(demoWorld())));
    EXPECT_EQ(status->destinationMountPoints, std::vector<std::string>{"/media/alex/Backup"});
}

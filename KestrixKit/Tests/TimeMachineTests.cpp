#include <gtest/gtest.h>

#include <map>

#include "KestrixKit/TimeMachine/TimeMachine.h"
#include "KestrixKit/TimeMachine/TimeMachineStatusCoding.h"

using namespace kestrix;

namespace {

constexpr const char* runningStatus = "Backup session status:\n{\n    BackupPhase = Copying;\n"
                                      "    Percent = \"0.25\";\n    Progress =     {\n        Percent = \"0.9\";\n"
                                      "    };\n    Running = 1;\n}\n";

// A runner answering from a table and remembering what it was asked.
struct FakeTool {
    std::map<std::string, CommandOutput> answers;
    std::vector<std::string> calls;

    TimeMachineRunner runner() {
        return [this](const std::vector<std::string>& arguments) -> std::optional<CommandOutput> {
            calls.push_back(arguments.at(0));
            const auto found = answers.find(arguments.at(0));
            return found == answers.end() ? std::nullopt : std::optional(found->second);
        };
    }
};

std::optional<double> progress(const std::string& percent) {
    return TimeMachine::parseStatus("Running = 1;\nPercent = " + percent + ";").progress;
}

}  // namespace

TEST(TimeMachine, ParseStatusReadsRunningPhaseAndFirstPercent) {
    EXPECT_EQ(TimeMachine::parseStatus(runningStatus),
              (TimeMachine::StatusFields{.running = true, .phase = "Copying", .progress = 0.25}));
    // Carriage returns and other line breaks split lines too.
    EXPECT_EQ(TimeMachine::parseStatus("{\r\n\t\"Running\" = \"1\";\r\n BackupPhase = \"Thinning Pre\" ;\u2028}"),
              (TimeMachine::StatusFields{.running = true, .phase = "Thinning Pre", .progress = std::nullopt}));
    EXPECT_EQ(TimeMachine::parseStatus("Running = 0;"), TimeMachine::StatusFields{});
    EXPECT_EQ(TimeMachine::parseStatus("no pairs here\n{\n}"), TimeMachine::StatusFields{});
    EXPECT_EQ(progress("\"1.5\""), 1.0);
    for (const char* refused : {"\"-1\"", "abc", "nan", ""}) EXPECT_EQ(progress(refused), std::nullopt) << refused;
}

TEST(TimeMachine, ParseDestinationsKeepsMountPointsInOrder) {
    const std::string text = "====\nName : One\nMount Point   : /Volumes/Backup One\nID : 1\n====\n"
                             "Name : Network\nID : 2\n====\n  Mount Point : /Volumes/Two\n"
                             "Mount Point:\nMount Point without colon\nmount point : /lower\n"
                             "Mount Point : /Volumes/Two\n";
    EXPECT_EQ(TimeMachine::parseDestinations(text),
              (std::vector<std::string>{"/Volumes/Backup One", "/Volumes/Two", "/Volumes/Two"}));
}

TEST(TimeMachine, ReadAndStopThroughTheRunner) {
    FakeTool tool;
    EXPECT_EQ(TimeMachine::read(tool.runner()), std::nullopt);
    EXPECT_EQ(TimeMachine::stopBackup(tool.runner()), std::make_pair(false, std::string("tmutil couldn't be run")));

    tool.answers["status"] = {.exitStatus = 1, .output = runningStatus};
    tool.answers["destinationinfo"] = {.exitStatus = 0, .output = "Mount Point : /Volumes/Backup\n"};
    EXPECT_EQ(TimeMachine::read(tool.runner()),
              (TimeMachineStatus{.running = true, .phase = "Copying", .progress = 0.25,
                                 .destinationMountPoints = {"/Volumes/Backup"}}));
    tool.calls.clear();
    tool.answers["status"] = {.exitStatus = 0, .output = "Running = 0;"};
    EXPECT_EQ(TimeMachine::read(tool.runner()), TimeMachineStatus{});
    EXPECT_EQ(tool.calls, std::vector<std::string>{"status"});

    tool.answers["stopbackup"] = {.exitStatus = 0, .output = "\n  Stopped.\t\n"};
    EXPECT_EQ(TimeMachine::stopBackup(tool.runner()), std::make_pair(true, std::string("Stopped.")));
    tool.answers["stopbackup"] = {.exitStatus = 70, .output = "Not permitted\n"};
    EXPECT_EQ(TimeMachine::stopBackup(tool.runner()), std::make_pair(false, std::string("Not permitted")));
}

TEST(TimeMachine, StatusCodingLeavesOutAbsentFields) {
    const TimeMachineStatus full{.running = true, .phase = "Copying", .progress = 0.5, .destinationMountPoints = {"/V"}};
    EXPECT_EQ(nlohmann::json(full).get<TimeMachineStatus>(), full);
    EXPECT_EQ(nlohmann::json(TimeMachineStatus{}), nlohmann::json::parse(R"({"running": false, "destinationMountPoints": []})"));
    EXPECT_THROW(nlohmann::json::parse(R"({"running": true})").get<TimeMachineStatus>(), nlohmann::json::exception);
}

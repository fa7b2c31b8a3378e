#include <gtest/gtest.h>

#include "KestrixKit/Simulated/SimulatedQuitter.h"

using namespace kestrix;

namespace {

std::shared_ptr<SimulatedSystem> world() {
    WorldLoadResult result = parseWorld(R"({ "ownPID": 900, "processes": [
      { "pid": 412, "executablePath": "/Applications/Photo Editor.app/Contents/MacOS/Photo Editor",
        "app": { "name": "Photo Editor", "isRegular": true } },
      { "pid": 413, "executablePath": "/Applications/Photo Editor.app/Contents/Helpers/Render.app/Contents/MacOS/Render" },
      { "pid": 420, "executablePath": "/Applications/Notes.app/Contents/MacOS/Notes", "onQuit": "stays",
        "app": { "name": "Notes", "isRegular": true } },
      { "pid": 421, "executablePath": "/Applications/Mail.app/Contents/MacOS/Mail", "onQuit": "refuses",
        "app": { "name": "Mail", "isRegular": true } },
      { "pid": 430, "executablePath": "/usr/bin/agent", "app": { "name": "Agent", "isRegular": false } },
      { "pid": 530, "name": "zsh" },
      { "pid": 531, "name": "rsync", "onTerm": "stays" },
      { "pid": 532, "name": "sudo", "onTerm": "fails" },
      { "pid": 900, "executablePath": "/Applications/Kestrix.app/Contents/MacOS/Kestrix",
        "app": { "name": "Kestrix", "isRegular": true } } ] })");
    if (const auto* error = std::get_if<WorldError>(&result)) ADD_FAILURE() << error->message;
    return std::make_shared<SimulatedSystem>(std::get<World>(std::move(result)));
}

// The world gives every process it does not date the start time 0.
Holder holder(std::int32_t pid, std::optional<std::string> bundle = std::nullopt) {
    return Holder{.pid = pid, .appBundlePath = std::move(bundle), .startTime = 0};
}

ProcessIdentity process(std::int32_t pid) { return {.pid = pid, .startTime = 0}; }

}  // namespace

TEST(SimulatedQuitter, QuitRequestsFollowOnQuit) {
    const auto system = world();
    SimulatedQuitter quitter(system);
    // A helper inside the app's bundle is quit through the app, which takes the helper along.
    EXPECT_TRUE(quitter.quitApp(holder(413, "/Applications/Photo Editor.app")));
    EXPECT_FALSE(quitter.isAlive(process(412)));
    EXPECT_FALSE(quitter.isAlive(process(413)));

    EXPECT_TRUE(quitter.quitApp(holder(420)));
    EXPECT_TRUE(quitter.isAlive(process(420)));
    EXPECT_FALSE(quitter.quitApp(holder(421)));
    EXPECT_TRUE(quitter.isAlive(process(421)));
    EXPECT_FALSE(quitter.quitApp(holder(430)));
    EXPECT_FALSE(quitter.quitApp(holder(530)));
    EXPECT_FALSE(quitter.quitApp(holder(900)));
    EXPECT_TRUE(quitter.isAlive(process(900)));
    EXPECT_EQ(system->world().processes.size(), 7u);
}

TEST(SimulatedQuitter, TerminationFollowsOnTerm) {
    SimulatedQuitter quitter(world());
    EXPECT_TRUE(quitter.endProcess(process(530), EndSignal::terminate));
    EXPECT_FALSE(quitter.isAlive(process(530)));
    EXPECT_TRUE(quitter.endProcess(process(531), EndSignal::terminate));
    EXPECT_TRUE(quitter.isAlive(process(531)));
    EXPECT_FALSE(quitter.endProcess(process(532), EndSignal::terminate));
    EXPECT_FALSE(quitter.endProcess(process(900), EndSignal::terminate));
    EXPECT_FALSE(quitter.endProcess(process(1), EndSignal::terminate));
    EXPECT_FALSE(quitter.isAlive(process(0)));
}

TEST(SimulatedQuitter, AProcessThatTookTheScannedPidIsNeverEndedOrAsked) {
    const auto system = world();
    SimulatedQuitter quitter(system);
    // The scan saw zsh and Notes started at 0; the processes at those pids now started later.
    const ProcessIdentity earlierZsh{.pid = 530, .startTime = 12};
    EXPECT_FALSE(quitter.isAlive(earlierZsh));
    EXPECT_FALSE(quitter.endProcess(earlierZsh, EndSignal::hangUp));
    EXPECT_FALSE(quitter.endProcess({.pid = 530}, EndSignal::hangUp)) << "a process whose start is unknown is not ended";
    Holder earlierNotes = holder(420);
    earlierNotes.startTime = 12;
    EXPECT_FALSE(quitter.quitApp(earlierNotes));
    EXPECT_TRUE(quitter.isAlive(process(530)));
    EXPECT_EQ(system->world().processes.size(), 9u);
}

TEST(SimulatedQuitter, UnknownResponsesAreWorldErrors) {
    const WorldLoadResult result = parseWorld(R"({"processes": [{"pid": 5, "onTerm": "refuses"}]})");
    ASSERT_TRUE(std::holds_alternative<WorldError>(result));
    EXPECT_EQ(std::get<WorldError>(result).message, "processes[0].onTerm: expected exits, stays or fails");
}

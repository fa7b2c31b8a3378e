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

Holder holder(std::int32_t pid, std::optional<std::string> bundle = std::nullopt) {
    return Holder{.pid = pid, .appBundlePath = std::move(bundle)};
}

}  // namespace

TEST(SimulatedQuitter, QuitRequestsFollowOnQuit) {
    const auto system = world();
    SimulatedQuitter quitter(system);
    // A helper inside the app's bundle is quit through the app, which takes the helper along.
    EXPECT_TRUE(quitter.quitApp(holder(413, "/Applications/Photo Editor.app")));
    EXPECT_FALSE(quitter.isAlive(412));
    EXPECT_FALSE(quitter.isAlive(413));

    EXPECT_TRUE(quitter.quitApp(holder(420)));
    EXPECT_TRUE(quitter.isAlive(420));
    EXPECT_FALSE(quitter.quitApp(holder(421)));
    EXPECT_TRUE(quitter.isAlive(421));
    EXPECT_FALSE(quitter.quitApp(holder(430)));
    EXPECT_FALSE(quitter.quitApp(holder(530)));
    EXPECT_FALSE(quitter.quitApp(holder(900)));
    EXPECT_TRUE(quitter.isAlive(900));
    EXPECT_EQ(system->world().processes.size(), 7u);
}

TEST(SimulatedQuitter, TerminationFollowsOnTerm) {
    SimulatedQuitter quitter(world());
    EXPECT_TRUE(quitter.endProcess(530));
    EXPECT_FALSE(quitter.isAlive(530));
    EXPECT_TRUE(quitter.endProcess(531));
    EXPECT_TRUE(quitter.isAlive(531));
    EXPECT_FALSE(quitter.endProcess(532));
    EXPECT_FALSE(quitter.endProcess(900));
    EXPECT_FALSE(quitter.endProcess(1));
    EXPECT_FALSE(quitter.isAlive(0));
}

TEST(SimulatedQuitter, UnknownResponsesAreWorldErrors) {
    const WorldLoadResult result = parseWorld(R"({"processes": [{"pid": 5, "onTerm": "refuses"}]})");
    ASSERT_TRUE(std::holds_alternative<WorldError>(result));
    EXPECT_EQ(std::get<WorldError>(result).message, "processes[0].onTerm: expected exits, stays or fails");
}

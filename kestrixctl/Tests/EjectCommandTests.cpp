#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <sstream>

#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;

namespace {

const std::string verdictsWorld = KESTRIXCTL_TEST_DATA "/eject-verdicts-world.json";
const std::string quitWorld = KESTRIXCTL_TEST_DATA "/quit-world.json";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) result.push_back(line);
    return result;
}

// The trace lines that start with the given call.
std::vector<std::string> calls(const std::string& trace, const std::string& call) {
    std::vector<std::string> found;
    for (const std::string& line : lines(trace)) {
        if (line.starts_with(call)) found.push_back(line);
    }
    return found;
}

nlohmann::json ejectJSON(const std::string& world, const std::vector<std::string>& words) {
    std::vector<std::string> line{"--world", world, "--json"};
    line.insert(line.end(), words.begin(), words.end());
    const auto result = run(line);
    EXPECT_TRUE(result.status == 0 || result.status == 1) << result.err;
    return nlohmann::json::parse(result.out);
}

}  // namespace

TEST(EjectCommand, HolderOrBackupStopsThePlainEjectBeforeTheEjector) {
    const auto held = run({"--world", verdictsWorld, "--trace", "eject", "held"});
    EXPECT_EQ(held.status, 1);
    EXPECT_EQ(held.out, "Held is in use by vim.\n");
    EXPECT_TRUE(calls(held.err, "eject ").empty()) << held.err;

    const nlohmann::json heldJSON = ejectJSON(verdictsWorld, {"eject", "Held"});
    EXPECT_EQ(heldJSON.at("verdict").at("case"), "inUse");
    EXPECT_EQ(heldJSON.at("verdict").at("holders")[0].at("pid"), 410);
    EXPECT_EQ(heldJSON.at("verdict").at("summary"), (nlohmann::json{{"checked", 2}, {"hidden", 2}, {"deep", false}}));
    EXPECT_EQ(heldJSON.at("drive").at("id"), "sdb");
    EXPECT_EQ(heldJSON.at("forced"), false);
    EXPECT_EQ(heldJSON.at("message"), "Held is in use by vim.");
    EXPECT_TRUE(std::regex_match(heldJSON.at("date").get<std::string>(),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));

    const auto backup = run({"--world", verdictsWorld, "--trace", "eject", "Backup"});
    EXPECT_EQ(backup.status, 1);
    EXPECT_EQ(backup.out, "Time Machine is backing up to Backup.\n");
    EXPECT_TRUE(calls(backup.err, "eject ").empty());
    const nlohmann::json backupJSON = ejectJSON(verdictsWorld, {"eject", "Backup"});
    EXPECT_EQ(backupJSON.at("verdict").at("case"), "backupRunning");
    EXPECT_EQ(backupJSON.at("verdict").at("status").at("running"), true);
    EXPECT_EQ(backupJSON.at("verdict").at("status").at("destinationMountPoints")[0], "/media/Backup");
}

TEST(EjectCommand, BusyRefusalLooksDeeperAndRetriesASystemServiceOnce) {
    const auto mapped = run({"--world", verdictsWorld, "--trace", "eject", "Mapped"});
    EXPECT_EQ(mapped.out, "Mapped is in use by python3.\n");
    EXPECT_TRUE(calls(mapped.err, "sleep").empty());
    const nlohmann::json mappedJSON = ejectJSON(verdictsWorld, {"eject", "Mapped"});
    EXPECT_EQ(mappedJSON.at("verdict").at("summary").at("deep"), true);
    EXPECT_EQ(mappedJSON.at("verdict").at("holders")[0].at("holds")[0].at("kind"), "mappedFile");

    const auto service = run({"--world", verdictsWorld, "--trace", "eject", "Service"});
    EXPECT_EQ(service.status, 1);
    EXPECT_EQ(service.out, "Service is in use: macOS says udisksd is using it.\n");
    EXPECT_EQ(calls(service.err, "sleep"), std::vector<std::string>{"sleep 1.5"});
    EXPECT_EQ(calls(service.err, "eject ").size(), 2u) << service.err;
    const nlohmann::json serviceJSON = ejectJSON(verdictsWorld, {"eject", "Service"});
    EXPECT_EQ(serviceJSON.at("verdict").at("holder").at("namedByMacOS"), true);
    EXPECT_EQ(serviceJSON.at("verdict").at("holder").at("holds"), nlohmann::json::array());

    // No process named: the retry unmounts, though the device stays powered.
    const auto quiet = run({"--world", verdictsWorld, "--trace", "eject", "Quiet"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "Quiet is unmounted and safe to unplug (macOS couldn’t power it off).\n");
    EXPECT_EQ(calls(quiet.err, "eject "), (std::vector<std::string>{"eject sdf force=false -> busy",
                                                                   "eject sdf force=false -> unmountedOnly"}));
}

TEST(EjectCommand, FailuresForcedEjectsAndMissingDrives) {
    const auto broken = run({"--world", verdictsWorld, "eject", "Broken"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "macOS couldn’t eject Broken (not allowed).\n");
    const nlohmann::json brokenJSON = ejectJSON(verdictsWorld, {"eject", "Broken"});
    EXPECT_EQ(brokenJSON.at("verdict"), (nlohmann::json{{"case", "failed"},
                                                        {"status", static_cast<std::int32_t>(0xF8DA0009u)},
                                                        {"message", "Operation not permitted"}}));

    // A simulated system asks no question before forcing.
    const auto forced = run({"--world", verdictsWorld, "--trace", "eject", "Held", "--force"});
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(forced.out, "Held ejected. It’s safe to unplug.\n");
    EXPECT_EQ(calls(forced.err, "eject "), std::vector<std::string>{"eject sdb force=true -> ejected"});
    EXPECT_TRUE(calls(forced.err, "tmutil").empty());
    EXPECT_EQ(ejectJSON(verdictsWorld, {"eject", "Held", "--force"}).at("forced"), true);

    const auto missing = run({"--world", verdictsWorld, "eject", "Nowhere"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "No drive named Nowhere is connected.\n");
    EXPECT_TRUE(missing.out.empty());

    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"eject"}, {"eject", "Held", "Free"}, {"eject", "Held", "--bogus"}, {"quit-and-eject", "Docs", "--end"},
             {"quit-and-eject", "Docs", "--end", "12x"}, {"quit-and-eject", "Docs", "--end", "0"},
             {"eject-all", "Free"}}) {
        std::vector<std::string> line{"--world", quitWorld};
        line.insert(line.end(), words.begin(), words.end());
        EXPECT_EQ(run(line).status, 2) << ::testing::PrintToString(words);
    }
}

TEST(QuitAndEjectCommand, EjectsOnceEveryAskedHolderIsGone) {
    const auto allowed = run({"--world", quitWorld, "--trace", "quit-and-eject", "Docs", "--end", "520"});
    EXPECT_EQ(allowed.status, 0) << allowed.err;
    EXPECT_EQ(allowed.out, "Docs ejected. It’s safe to unplug.\n");
    EXPECT_EQ(calls(allowed.err, "quitApp"), std::vector<std::string>{"quitApp 510 -> true"});
    EXPECT_EQ(calls(allowed.err, "endProcess"), std::vector<std::string>{"endProcess 520 -> true"});
    EXPECT_TRUE(calls(allowed.err, "sleep").empty());

    // The command-line program the user did not allow is left running and holds the drive still.
    const auto notAllowed = run({"--world", quitWorld, "--trace", "quit-and-eject", "Docs"});
    EXPECT_EQ(notAllowed.status, 1);
    EXPECT_EQ(notAllowed.out, "Docs is in use by rsync.\n");
    EXPECT_TRUE(calls(notAllowed.err, "endProcess").empty());
    EXPECT_TRUE(calls(notAllowed.err, "eject ").empty());
}

TEST(QuitAndEjectCommand, WaitsForAnAppThatStaysThenShowsIt) {
    const auto result = run({"--world", quitWorld, "--trace", "quit-and-eject", "Slides", "--end", "630"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "Numbers is still open on Slides. It may be asking you to save.\n");
    EXPECT_EQ(calls(result.err, "quitApp"), (std::vector<std::string>{"quitApp 620 -> false", "quitApp 610 -> true"}));
    EXPECT_EQ(calls(result.err, "sleep"), std::vector<std::string>(40, "sleep 0.25"));
    EXPECT_EQ(calls(result.err, "isAlive 610").size(), 41u);
    EXPECT_EQ(calls(result.err, "isAlive 630"), std::vector<std::string>{"isAlive 630 -> false"});
    EXPECT_EQ(calls(result.err, "showApp"), std::vector<std::string>{"showApp 610"});
    EXPECT_TRUE(calls(result.err, "eject ").empty());

    const nlohmann::json json = ejectJSON(quitWorld, {"quit-and-eject", "Slides"});
    EXPECT_EQ(json.at("verdict").at("case"), "waitingOnApps");
    ASSERT_EQ(json.at("verdict").at("holders").size(), 1u);
    EXPECT_EQ(json.at("verdict").at("holders")[0].at("name"), "Numbers");
}

TEST(EjectAllCommand, SummarisesEveryDriveInListOrder) {
    const auto result = run({"--world", verdictsWorld, "--trace", "eject-all"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "Ejected: 2 of 7. Held is in use by vim. Time Machine is backing up to Backup. Mapped is in use by "
              "python3. Service is in use: macOS says udisksd is using it. macOS couldn’t eject Broken (not "
              "allowed).\n");
    EXPECT_EQ(calls(result.err, "sleep"), (std::vector<std::string>{"sleep 1.5", "sleep 1.5"}));

    const nlohmann::json json = ejectJSON(verdictsWorld, {"eject-all"});
    ASSERT_EQ(json.at("reports").size(), 7u);
    EXPECT_EQ(json.at("reports")[6].at("drive").at("id"), "sdh");
    EXPECT_EQ(json.at("reports")[6].at("verdict"), (nlohmann::json{{"case", "ejected"}}));
    EXPECT_EQ(json.at("summary"), lines(result.out).front());

    // Every report goes to the history when the run names a history file.
    const std::string history = ::testing::TempDir() + "kestrixctl-eject-all-history.json";
    std::remove(history.c_str());
    EXPECT_EQ(run({"--world", verdictsWorld, "--history", history, "eject-all"}).status, 1);
    EXPECT_EQ(run({"--world", verdictsWorld, "--history", history, "eject", "Free"}).status, 0);
    const auto recorded = run({"--history", history, "history", "--json"});
    EXPECT_NE(recorded.out.find("Free"), std::string::npos) << recorded.out;
    std::remove(history.c_str());

    const auto none = run({"--world", KESTRIXCTL_TEST_DATA "/empty-world.json", "eject-all"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "No drives to eject.\n");
}

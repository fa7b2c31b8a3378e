#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "kestrixctl/HistoryRecording.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;
using namespace kestrix;
using namespace std::chrono_literals;
using enum HistoryEvent::Outcome;
namespace fs = std::filesystem;

namespace {

// 2025-03-01T14:05:09Z
const auto sampleDate = std::chrono::system_clock::time_point{} + 1'740'837'909s;

HistoryEvent event(std::string drive, HistoryEvent::Outcome outcome, std::vector<HistoryEvent::Culprit> culprits,
                   std::chrono::seconds age) {
    return {Uuid::version4({}), sampleDate - age, std::move(drive), outcome, std::move(culprits)};
}

class HistoryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrixctl-history-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        path = (folder / "history.json").string();
        // Central European time in the POSIX form, which needs no time zone files.
        setenv("TZ", "CET-1", 1);
    }
    void TearDown() override {
        unsetenv("TZ");
        unsetenv("XDG_DATA_HOME");
        fs::remove_all(folder);
    }

    fs::path folder;
    std::string path;
};

}  // namespace

TEST_F(HistoryCommand, ShowsFiguresOffendersAndEveryAttemptInLocalTime) {
    ASSERT_EQ(saveHistory(History(std::vector<HistoryEvent>{
                              event("Photos", ejected, {}, 0s),
                              event("Photos", inUse, {{"zsh", HelperKind::shell}, {"Preview", HelperKind::app}}, 39s),
                              event("Backup, Projects", backupRunning, {{"Time Machine", HelperKind::timeMachine}}, 86400s),
                              event("Photos", waitingOnApps, {{"Preview", HelperKind::app}}, 2 * 86400s)}),
                          path),
              std::nullopt);
    const auto result = run({"--history", path, "history"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Eject attempts: 4\nBlocked: 3\nRepeat offenders: 3\n\n"
              "Repeat offenders\n"
              "  Preview — Blocked 2 times\n"
              "  zsh — Blocked 1 time\n"
              "  Time Machine — Blocked 1 time\n\n"
              "Every attempt\n"
              "  Photos — Ejected — 2025-03-01 15:05\n"
              "  Photos — In use: zsh, Preview — 2025-03-01 15:04\n"
              "  Backup, Projects — Backing up: Time Machine — 2025-02-28 15:05\n"
              "  Photos — App still open: Preview — 2025-02-27 15:05\n");

    const auto top = run({"history", "--top", "1", "--json", "--history", path});
    ASSERT_EQ(top.status, 0) << top.err;
    const auto json = nlohmann::json::parse(top.out);
    EXPECT_EQ(json.at("events").size(), 4u);
    EXPECT_EQ(json.at("events")[1].at("culprits")[0], (nlohmann::json{{"name", "zsh"}, {"kind", "shell"}}));
    EXPECT_EQ(json.at("offenders"), nlohmann::json::parse(R"([{"name": "Preview", "kind": "app", "count": 2,
                                                                "lastSeen": "2025-03-01T14:04:30Z"}])"));
}

TEST_F(HistoryCommand, ClearEmptiesTheFileAndBadArgumentsAreRefused) {
    ASSERT_EQ(saveHistory(History(std::vector<HistoryEvent>{event("Photos", failed, {}, 0s)}), path), std::nullopt);
    const auto cleared = run({"--history", path, "history", "--clear"});
    EXPECT_EQ(cleared.status, 0) << cleared.err;
    EXPECT_EQ(cleared.out, "No ejects yet\n");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(loadHistory(path), LoadedHistory{});

    for (const char* top : {"-1", "x", "1.5", "", "99999999999999999999999"}) {
        EXPECT_EQ(run({"--history", path, "history", "--top", top}).status, 2) << top;
    }
    EXPECT_EQ(run({"--history", path, "history", "extra"}).status, 2);
}

TEST_F(HistoryCommand, RecordsOnTheRealSystemAndOnlyWithAFileOnASimulatedOne) {
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    const std::string userHistory = (folder / "com.orvane.kestrix/history.json").string();
    const Drive drive{.id = "sdb", .volumes = {{.name = "Stick", .mountPath = "/media/me/Stick"}}};
    const std::vector<DriveReport> reports{
        {drive, {DriveVerdict::InUse{{Holder{.name = "sh", .kind = HelperKind::shell}}, {}}}, sampleDate},
        {drive, {DriveVerdict::Ejected{}}, sampleDate}};
    std::ostringstream out, err;
    kestrix::SystemContext simulated, real;
    simulated.simulated = std::make_shared<SimulatedSystem>(World{});
    const kestrixctl::GlobalOptions noFile, withFile{.historyPath = path},
        unwritable{.historyPath = path + "/history.json"};

    kestrixctl::recordReports({simulated, noFile, out, err}, reports);
    EXPECT_FALSE(fs::exists(userHistory));
    kestrixctl::recordReports({real, noFile, out, err}, reports);
    const History recorded = loadHistory(userHistory).history;
    ASSERT_EQ(recorded.events.size(), 2u);
    EXPECT_EQ(recorded.events[0].outcome, ejected);
    EXPECT_EQ(recorded.events[1].culprits, (std::vector<HistoryEvent::Culprit>{{"sh", HelperKind::shell}}));
    EXPECT_NE(recorded.events[0].id, recorded.events[1].id);
    kestrixctl::recordReports({simulated, withFile, out, err}, reports);
    EXPECT_EQ(loadHistory(path).history.events.size(), 2u);
    EXPECT_TRUE(err.str().empty());

    // A history that cannot be saved is a warning, not a failure of the eject.
    kestrixctl::recordReports({real, unwritable, out, err}, reports);
    EXPECT_NE(err.str().find("warning"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST_F(HistoryCommand, AnUnreadableFileIsKeptAsideAndReportedOnce) {
    std::ofstream(path) << "{\"events\": [";
    const auto first = run({"--history", path, "history"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "No ejects yet\n");
    EXPECT_NE(first.err.find("kept as " + path + ".unreadable"), std::string::npos) << first.err;
    const auto second = run({"--history", path, "history"});
    EXPECT_EQ(second.err, "");
    EXPECT_TRUE(fs::exists(path + ".unreadable"));
}

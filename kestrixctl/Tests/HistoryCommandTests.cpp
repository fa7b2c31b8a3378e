#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "KestrixKit/History/HistoryCoding.h"
#include "KestrixKit/Linux/HistoryFile.h"
#include "kestrixctl/HistoryRecording.h"
#include "kestrixctl/Tests/RunKestrixctl.h"

using kestrixctl::testing::run;
using namespace kestrix;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// 2025-03-01T14:05:09Z
const auto sampleDate = std::chrono::system_clock::time_point{} + 1'740'837'909s;

HistoryEvent event(std::string drive, HistoryEvent::Outcome outcome, std::vector<HistoryEvent::Culprit> culprits,
                   std::chrono::seconds age) {
    return {.id = Uuid::version4({}), .date = sampleDate - age, .driveName = std::move(drive), .outcome = outcome,
            .culprits = std::move(culprits)};
}

DriveReport report(DriveVerdict verdict) {
    return {.drive = {.id = "sdb", .volumes = {{.name = "Stick", .mountPath = "/media/me/Stick"}}},
            .verdict = std::move(verdict),
            .date = sampleDate};
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

    void write(const History& history) const { ASSERT_EQ(saveHistory(history, path), std::nullopt); }

    fs::path folder;
    std::string path;
};

}  // namespace

TEST_F(HistoryCommand, ShowsFiguresOffendersAndEveryAttemptInLocalTime) {
    using enum HistoryEvent::Outcome;
    write(History(std::vector<HistoryEvent>{
        event("Photos", ejected, {}, 0s),
        event("Photos", inUse, {{"zsh", HelperKind::shell}, {"Preview", HelperKind::app}}, 39s),
        event("Backup, Projects", backupRunning, {{"Time Machine", HelperKind::timeMachine}}, 86400s),
        event("Photos", waitingOnApps, {{"Preview", HelperKind::app}}, 2 * 86400s),
    }));
    const auto result = run({"--history", path, "history"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "Eject attempts: 4\n"
              "Blocked: 3\n"
              "Repeat offenders: 3\n"
              "\n"
              "Repeat offenders\n"
              "  Preview — Blocked 2 times\n"
              "  zsh — Blocked 1 time\n"
              "  Time Machine — Blocked 1 time\n"
              "\n"
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
    EXPECT_EQ(decodeHistory(top.out).events.size(), 4u);
}

TEST_F(HistoryCommand, ClearEmptiesTheFileAndBadArgumentsAreRefused) {
    write(History(std::vector<HistoryEvent>{event("Photos", HistoryEvent::Outcome::failed, {}, 0s)}));
    const auto cleared = run({"--history", path, "history", "--clear"});
    EXPECT_EQ(cleared.status, 0) << cleared.err;
    EXPECT_EQ(cleared.out, "No ejects yet\n");
    EXPECT_EQ(loadHistory(path), History{});
    EXPECT_TRUE(fs::exists(path));

    for (const char* top : {"-1", "x", "1.5", "", "99999999999999999999999"}) {
        const auto result = run({"--history", path, "history", "--top", top});
        EXPECT_EQ(result.status, 2) << top;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_EQ(run({"--history", path, "history", "extra"}).status, 2);
    EXPECT_EQ(run({"--history", path, "history", "--top"}).status, 2);
}

TEST_F(HistoryCommand, RecordsOnTheRealSystemAndOnlyWithAFileOnASimulatedOne) {
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    const std::string userHistory = (folder / "com.orvane.kestrix/history.json").string();
    const std::vector<DriveReport> reports{report({DriveVerdict::InUse{{Holder{.name = "sh", .kind = HelperKind::shell}}, {}}}),
                                           report({DriveVerdict::Ejected{}})};
    std::ostringstream out, err;

    kestrixctl::SystemContext simulated;
    simulated.simulated = std::make_shared<SimulatedSystem>(World{});
    const kestrixctl::GlobalOptions noFile;
    kestrixctl::recordReports({simulated, noFile, out, err}, reports);
    EXPECT_FALSE(fs::exists(userHistory));

    kestrixctl::SystemContext real;
    kestrixctl::recordReports({real, noFile, out, err}, reports);
    const History recorded = loadHistory(userHistory);
    ASSERT_EQ(recorded.events.size(), 2u);
    EXPECT_EQ(recorded.events[0].outcome, HistoryEvent::Outcome::ejected);
    EXPECT_EQ(recorded.events[1].culprits, (std::vector<HistoryEvent::Culprit>{{"sh", HelperKind::shell}}));
    EXPECT_NE(recorded.events[0].id, recorded.events[1].id);

    const kestrixctl::GlobalOptions withFile{.historyPath = path};
    kestrixctl::recordReports({simulated, withFile, out, err}, reports);
    EXPECT_EQ(loadHistory(path).events.size(), 2u);
    EXPECT_TRUE(err.str().empty());

    // A history that cannot be saved is a warning, not a failure of the eject.
    const kestrixctl::GlobalOptions unwritable{.historyPath = path + "/history.json"};
    kestrixctl::recordReports({real, unwritable, out, err}, reports);
    EXPECT_NE(err.str().find("warning"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

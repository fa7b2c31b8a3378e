#include <gtest/gtest.h>

#include "KestrixKit/Ejection/DAStatus.h"
#include "kestrixctl/TracingEjector.h"
#include "kestrixctl/TracingFunctions.h"
#include "kestrixctl/TracingQuitter.h"

using namespace kestrixctl;

namespace {

struct ScriptedEjector : kestrix::DiskEjecting {
    std::vector<kestrix::EjectOutcome> outcomes;
    kestrix::EjectOutcome eject(const kestrix::Drive&, bool) override {
        kestrix::EjectOutcome next = outcomes.front();
        outcomes.erase(outcomes.begin());
        return next;
    }
};

struct FixedQuitter : kestrix::HolderQuitting {
    bool quitApp(const kestrix::Holder&) override { return true; }
    void showApp(const kestrix::Holder&) override {}
    bool endProcess(pid_t) override { return false; }
    bool isAlive(pid_t pid) override { return pid == 530; }
};

}  // namespace

TEST(Tracing, EachCallIsOneLineInOrder) {
    std::vector<std::string> lines;
    const TraceSink sink = [&](const std::string& line) { lines.push_back(line); };

    auto scripted = std::make_shared<ScriptedEjector>();
    using kestrix::EjectOutcome;
    scripted->outcomes = {{EjectOutcome::Busy{.volume = "Photos", .pid = 512, .status = kestrix::DAStatus::busy}},
                          {EjectOutcome::Failed{}}, {EjectOutcome::UnmountedOnly{}}, {EjectOutcome::Ejected{}}};
    TracingEjector ejector(scripted, sink);
    const kestrix::Drive drive{.id = "disk4", .volumes = {}};
    EXPECT_TRUE(ejector.eject(drive, false).is<EjectOutcome::Busy>());
    ejector.eject(drive, true);
    ejector.eject(drive, false);
    ejector.eject(drive, false);

    TracingQuitter quitter(std::make_shared<FixedQuitter>(), sink);
    EXPECT_TRUE(quitter.quitApp(kestrix::Holder{.pid = 412}));
    quitter.showApp(kestrix::Holder{.pid = 412});
    EXPECT_FALSE(quitter.endProcess(530));
    EXPECT_TRUE(quitter.isAlive(530));

    double slept = 0;
    const auto sleep = tracingSleep([&](double seconds) { slept += seconds; }, sink);
    sleep(1.5);
    sleep(0.25);
    sleep(10);
    EXPECT_EQ(slept, 11.75);

    const auto tmutil = tracingRunner([](const std::vector<std::string>&) { return std::nullopt; }, sink);
    EXPECT_EQ(tmutil({"status"}), std::nullopt);

    EXPECT_EQ(lines, (std::vector<std::string>{
                         "eject disk4 force=false -> busy", "eject disk4 force=true -> failed",
                         "eject disk4 force=false -> unmountedOnly", "eject disk4 force=false -> ejected",
                         "quitApp 412 -> true", "showApp 412", "endProcess 530 -> false", "isAlive 530 -> true",
                         "sleep 1.5", "sleep 0.25", "sleep 10", "tmutil status"}));
    EXPECT_EQ(shortestDecimal(0.1), "0.1");
    EXPECT_EQ(shortestDecimal(0), "0");
}

#include <gtest/gtest.h>

#include "KestrixKit/System/TracingEjector.h"
#include "KestrixKit/System/TracingFunctions.h"
#include "KestrixKit/System/TracingQuitter.h"

using namespace kestrix;
using kestrix::EjectOutcome;

namespace {

struct BusyThenEjected : kestrix::DiskEjecting {
    int calls = 0;
    EjectOutcome eject(const kestrix::Drive&, bool) override {
        if (calls++ == 0) return {EjectOutcome::Busy{.volume = "Photos", .pid = 512, .status = 1}};
        return {EjectOutcome::UnmountedOnly{}};
    }
    kestrix::ReleaseOutcome release(const kestrix::KernelHolder& holder) override {
        return {.released = holder.device == "/dev/loop7", .message = std::nullopt};
    }
};

struct FixedQuitter : kestrix::HolderQuitting {
    bool quitApp(const kestrix::Holder&) override { return true; }
    void showApp(const kestrix::Holder&) override {}
    bool endProcess(const kestrix::ProcessIdentity&, kestrix::EndSignal) override { return false; }
    bool isAlive(const kestrix::ProcessIdentity& process) override { return process.pid == 530; }
};

}  // namespace

TEST(Tracing, EachCallIsOneLineInOrderAndResultsPassThrough) {
    std::vector<std::string> lines;
    const TraceSink sink = [&](const std::string& line) { lines.push_back(line); };

    TracingEjector ejector(std::make_shared<BusyThenEjected>(), sink);
    const kestrix::Drive drive{.id = "disk4", .volumes = {}};
    EXPECT_TRUE(ejector.eject(drive, false).is<EjectOutcome::Busy>());
    EXPECT_TRUE(ejector.eject(drive, true).is<EjectOutcome::UnmountedOnly>());
    EXPECT_TRUE(ejector.release({.kind = kestrix::KernelHoldKind::diskImage, .name = "a.img", .device = "/dev/loop7"}).released);
    EXPECT_FALSE(ejector.release({.kind = kestrix::KernelHoldKind::swapArea, .name = "sdb2", .device = "/dev/sdb2"}).released);

    TracingQuitter quitter(std::make_shared<FixedQuitter>(), sink);
    EXPECT_TRUE(quitter.quitApp(kestrix::Holder{.pid = 412}));
    quitter.showApp(kestrix::Holder{.pid = 412});
    EXPECT_FALSE(quitter.endProcess({.pid = 530, .startTime = 7}, EndSignal::terminate));
    EXPECT_TRUE(quitter.isAlive({.pid = 530, .startTime = 7}));

    double slept = 0;
    const auto sleep = tracingSleep([&](double seconds) { slept += seconds; }, sink);
    for (const double seconds : {1.5, 0.25, 10.0}) sleep(seconds);
    EXPECT_EQ(slept, 11.75);
    EXPECT_EQ(tracingRunner([](const std::vector<std::string>&) { return std::nullopt; }, sink)({"status"}), std::nullopt);

    EXPECT_EQ(lines, (std::vector<std::string>{"eject disk4 force=false -> busy", "eject disk4 force=true -> unmountedOnly",
                                               "release diskImage /dev/loop7 -> released", "release swap /dev/sdb2 -> refused",
                                               "quitApp 412 -> true", "showApp 412", "endProcess 530 -> false",
                                               "isAlive 530 -> true", "sleep 1.5", "sleep 0.25", "sleep 10", "tmutil status"}));
}

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "KestrixKit/Ejection/FileSystemFlushing.h"
#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

namespace {

// A slow drive's flush: what is left, twice, then the end. Each amount waits until the test has
// seen the one before on the main thread.
class SteppedFlusher : public FileSystemFlushing {
public:
    std::vector<FlushProgress> steps{{.bytesLeft = 38'000'000, .secondsLeft = 18.5},
                                     {.bytesLeft = 2'000'000, .secondsLeft = 1.0},
                                     {.bytesLeft = 0, .secondsLeft = 0.0}};
    std::atomic<int> seen = 0;

    void flush(const Drive&, const std::function<void(const FlushProgress&)>& shown) override {
        for (std::size_t step = 0; step < steps.size(); ++step) {
            shown(steps[step]);
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (seen.load() <= static_cast<int>(step) && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::yield();
            }
        }
    }
};

}  // namespace

TEST(ModelFlush, TheCardShowsWhatIsLeftToWriteAndAToastedEjectToastsItWithoutCancel) {
    ModelHarness harness;
    harness.writeWorld({{"volumes", nlohmann::json::array({stick("SLOW", 0)})}});
    AppBackend backend = harness.backend();
    auto flusher = std::make_shared<SteppedFlusher>();
    backend.system.flow.flusher = flusher;
    harness.build(std::move(backend));
    AppModel& model = *harness.model;
    model.start();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(1); }));
    const Drive drive = harness.drive(stickId(0));

    std::vector<std::optional<FlushProgress>> shown{std::nullopt};
    QObject::connect(&model, &AppModel::driveStateChanged, [&](const QString&) {
        const std::optional<FlushProgress> now = model.state(drive.id).flush;
        if (shown.back() == now) return;
        shown.push_back(now);
        // The card offers no way out while the kernel writes: the eject is busy, with no cancel.
        if (now) {
            EXPECT_TRUE(model.display(drive.id) == DriveDisplay{Busy::ejecting});
        }
        ++flusher->seen;
    });
    model.ejectDriveNamed("SLOW");
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.recent().size() == 1; }));

    EXPECT_EQ(shown, (std::vector<std::optional<FlushProgress>>{
                         std::nullopt, flusher->steps[0], flusher->steps[1], std::nullopt}))
        << "nothing, two amounts, then the end of the flush";
    EXPECT_EQ(harness.toasts, (std::vector<QString>{
                                  "Writing 38 MB to SLOW… Don’t unplug it yet (about 19 s left).",
                                  "Writing 2 MB to SLOW… Don’t unplug it yet (about 1 s left).",
                                  "SLOW ejected. It’s safe to unplug."}));
    // Spoken once as it starts, then the result.
    EXPECT_EQ(harness.announcements, (std::vector<QString>{
                                         "Writing 38 MB to SLOW… Don’t unplug it yet (about 19 s left).",
                                         "SLOW ejected. It’s safe to unplug."}));
    EXPECT_FALSE(model.state(drive.id).flush);
}

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "KestrixKit/Linux/Processes/ProcessExits.h"
#include "KestrixKit/Linux/Processes/Signals.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"

using namespace kestrix;
using kestrix::test::ChildProcess;

namespace {

ProcessIdentity identityOf(pid_t pid) { return {.pid = pid, .startTime = Signals::startTime(pid)}; }

// Far longer than any test may take: a wait that reaches it has missed the exits.
constexpr double unreachedLimit = 600;

bool endedBeforeTheLimit(const std::chrono::steady_clock::time_point& began) {
    return std::chrono::steady_clock::now() - began < std::chrono::seconds(300);
}

}  // namespace

TEST(ProcessExits, WakesOnceTheLastOneHasExitedAndOtherwiseAtTheLimit) {
    ChildProcess first([] { return true; });
    ChildProcess second([] { return true; });
    const ProcessIdentity one = identityOf(first.pid());
    const ProcessIdentity other = identityOf(second.pid());
    ASSERT_TRUE(one.startTime && other.startTime);

    awaitProcessExits({one, other}, 0.2);
    EXPECT_TRUE(Signals::isRunning(one) && Signals::isRunning(other)) << "the limit ends the wait, not the processes";

    // No process (pid 0), and one whose pid another process has now: nothing to wait for.
    auto began = std::chrono::steady_clock::now();
    awaitProcessExits({{.pid = 0}, {.pid = first.pid(), .startTime = *one.startTime + 1}}, unreachedLimit);
    EXPECT_TRUE(endedBeforeTheLimit(began));

    // Ended one after the other while the wait runs: it returns once both are gone.
    began = std::chrono::steady_clock::now();
    std::thread ender([&] {
        Signals::terminate(one);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Signals::terminate(other);
    });
    awaitProcessExits({one, other}, unreachedLimit);
    ender.join();
    EXPECT_TRUE(endedBeforeTheLimit(began));
    EXPECT_FALSE(Signals::isRunning(one));
    EXPECT_FALSE(Signals::isRunning(other));
}

#include "KestrixKit/Linux/Processes/ProcessExits.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/Signals.h"

namespace kestrix {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds lookAgain{250};
constexpr std::chrono::milliseconds longestPoll = std::chrono::hours(1);
// Longer than any wait asked for, and short enough for the clock's arithmetic.
constexpr double longestWaitSeconds = 30 * 24 * 3600;

struct Watched {
    ProcessIdentity process;
    // Absent where the kernel gives none: the process is then looked at now and then.
    std::unique_ptr<filesupport::OwnedDescriptor> descriptor;
};

}  // namespace

void awaitProcessExits(const std::vector<ProcessIdentity>& processes, double limitSeconds) {
    if (!(limitSeconds > 0)) return;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(std::min(limitSeconds, longestWaitSeconds)));
    std::vector<Watched> watched;
    for (ProcessIdentity process : processes) {
        auto descriptor = std::make_unique<filesupport::OwnedDescriptor>(Signals::openDescriptor(process.pid));
        // A process known by its pid alone is the one that has the pid now.
        if (!process.startTime) process.startTime = Signals::startTime(process.pid);
        // Checked after the descriptor is taken: a process still running now is the one it refers to.
        if (!Signals::isRunning(process)) continue;
        watched.push_back({process, descriptor->valid() ? std::move(descriptor) : nullptr});
    }
    while (!watched.empty()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return;
        const bool looksAgain = std::any_of(watched.begin(), watched.end(), [](const Watched& one) { return !one.descriptor; });
        // poll takes its timeout as an int: a long wait is made of several.
        const auto timeout = std::min(looksAgain ? lookAgain : longestPoll, left);
        std::vector<pollfd> events;
        for (const Watched& one : watched) {
            events.push_back({.fd = one.descriptor ? one.descriptor->get() : -1, .events = POLLIN, .revents = 0});
        }
        if (poll(events.data(), events.size(), static_cast<int>(timeout.count())) < 0 && errno != EINTR) return;
        std::size_t index = 0;
        std::erase_if(watched, [&](const Watched& one) {
            const pollfd& event = events[index++];
            return one.descriptor ? event.revents != 0 : !Signals::isRunning(one.process);
        });
    }
}

}  // namespace kestrix

#pragma once

#include <chrono>
#include <thread>

namespace kestrix::desktop::test {

// Polls the condition every 20 ms for up to the given seconds; whether it became true.
template <typename Condition>
bool waitUntil(double seconds, const Condition& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace kestrix::desktop::test

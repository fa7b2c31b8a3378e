#pragma once

#include <chrono>
#include <thread>

namespace kestrix::test {

// Whether the condition holds within about ten seconds, checked every 50 ms: long enough for a
// service to start on a loaded machine.
template <typename Condition>
bool eventually(Condition condition) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

}  // namespace kestrix::test

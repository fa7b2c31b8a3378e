#include "KestrixKit/Linux/Windows/WindowOwners.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "KestrixKit/Linux/Windows/X11Windows.h"

namespace kestrix {
namespace {

constexpr auto freshFor = std::chrono::seconds(1);

struct OwnersCache {
    std::mutex mutex;
    std::optional<std::chrono::steady_clock::time_point> readAt;
    std::set<std::int32_t> owners;
};

}  // namespace

std::function<std::set<std::int32_t>()> x11WindowOwners(std::string display) {
    auto cache = std::make_shared<OwnersCache>();
    return [cache, display = std::move(display)] {
        const std::lock_guard lock(cache->mutex);
        const auto now = std::chrono::steady_clock::now();
        if (!cache->readAt || now - *cache->readAt >= freshFor) {
            cache->owners.clear();
            for (const TopLevelWindow& window : X11Windows(display).topLevelWindows()) {
                if (window.pid > 0) cache->owners.insert(window.pid);
            }
            cache->readAt = std::chrono::steady_clock::now();
        }
        return cache->owners;
    };
}

std::optional<std::string> environmentDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return std::nullopt;
    return std::string(display);
}

}  // namespace kestrix

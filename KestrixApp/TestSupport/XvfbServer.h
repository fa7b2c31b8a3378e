#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace kestrix::test {

// A private X server (Xvfb) on a free display, stopped by its pid when this goes away.
class XvfbServer {
public:
    XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer();

    // Why no server could be started; nothing when it runs.
    const std::optional<std::string>& skipReason() const { return skipReason_; }
    // ":N".
    const std::string& display() const { return display_; }

private:
    std::optional<std::string> skipReason_;
    std::string display_;
    pid_t pid_ = -1;
};

}  // namespace kestrix::test

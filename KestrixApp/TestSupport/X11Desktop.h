#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KestrixApp/TestSupport/ServerProcess.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"

namespace kestrix::desktop::test {

// An X server on a free display (Xvfb) with a window manager (openbox) on it.
class X11Desktop {
public:
    // size: the screen's, such as "1280x800".
    explicit X11Desktop(const std::string& size = "1280x800");

    // Why the desktop could not start; empty while it runs.
    const std::string& problem() const { return problem_; }
    // Such as ":12".
    const std::string& display() const { return display_; }

    // The window the window manager shows as active.
    std::optional<std::uint32_t> activeWindow() const;
    // The newest top-level window of the process, waited for up to five seconds.
    std::optional<std::uint32_t> waitForWindowOf(std::int32_t pid) const;

private:
    bool managesAProbeWindow() const;

    std::unique_ptr<ServerProcess> server_;
    std::unique_ptr<kestrix::test::ChildProcess> windowManager_;
    std::string display_;
    std::string problem_;
};

}  // namespace kestrix::desktop::test

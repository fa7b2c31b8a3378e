#pragma once

#include <functional>

#include <QObject>

namespace kestrix {

// The model's timed waits. The app waits on the clock; a test answers at once, so that two
// hours of backup polls take milliseconds.
class WaitTimer {
public:
    virtual ~WaitTimer() = default;
    // Calls `then` on the receiver's thread after the given seconds, unless the receiver is gone.
    virtual void after(double seconds, QObject* receiver, std::function<void()> then) = 0;
};

// Waits on Qt's timers.
class ClockWaitTimer : public WaitTimer {
public:
    void after(double seconds, QObject* receiver, std::function<void()> then) override;
};

}  // namespace kestrix

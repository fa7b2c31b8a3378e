#pragma once

#include <cstddef>
#include <vector>

#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/History/Offender.h"

namespace kestrix {

// The remembered ejects, newest first.
struct History {
    static constexpr std::size_t limit = 500;

    std::vector<HistoryEvent> events;

    History() = default;
    // Keeps the first `limit` events of a longer list.
    explicit History(std::vector<HistoryEvent> events);

    // Puts the event in front and forgets the oldest ones beyond `limit`.
    void add(HistoryEvent event);
    void clear() { events.clear(); }

    int blockedCount() const;
    // The names that blocked most often, most recent first among equals; at most `top` of them.
    std::vector<Offender> offenders(std::size_t top) const;

    bool operator==(const History&) const = default;
};

}  // namespace kestrix

#include "KestrixKit/History/History.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix {

History::History(std::vector<HistoryEvent> events) : events(std::move(events)) {
    if (this->events.size() > limit) this->events.resize(limit);
}

void History::add(HistoryEvent event) {
    events.insert(events.begin(), std::move(event));
    if (events.size() > limit) events.resize(limit);
}

int History::blockedCount() const {
    return static_cast<int>(std::ranges::count_if(events, &HistoryEvent::wasBlocked));
}

std::vector<Offender> History::offenders(std::size_t top) const {
    std::vector<Offender> offenders;
    std::map<std::string, std::size_t> indexByName;
    for (const HistoryEvent& event : events) {
        if (!event.wasBlocked()) continue;
        // An offender counts ejects, so a name takes part once per event, whatever kinds it had.
        // It is one program however its name was written: "mousepad" typed in a terminal and
        // "Mousepad" opened from a menu are one offender, under the newest name.
        std::set<std::string> namesInEvent;
        for (const HistoryEvent::Culprit& culprit : event.culprits) {
            const std::string identity = text::lowercased(culprit.name);
            if (!namesInEvent.insert(identity).second) continue;
            const auto [found, isNew] = indexByName.try_emplace(identity, offenders.size());
            if (isNew) {
                offenders.push_back({culprit.name, culprit.kind, 1, event.date});
                continue;
            }
            Offender& offender = offenders[found->second];
            offender.count += 1;
            offender.lastSeen = std::max(offender.lastSeen, event.date);
        }
    }
    std::ranges::stable_sort(offenders, [](const Offender& left, const Offender& right) {
        if (left.count != right.count) return left.count > right.count;
        return left.lastSeen > right.lastSeen;
    });
    if (offenders.size() > top) offenders.resize(top);
    return offenders;
}

}  // namespace kestrix

#include "KestrixApp/Views/Cards/DriveCards.h"

namespace kestrix::views {

void updateDriveCards(std::map<std::string, DriveCard*>& cards, const std::vector<Drive>& drives,
                      const std::function<DriveCard*(const Drive&)>& make) {
    std::map<std::string, DriveCard*> kept;
    for (const Drive& drive : drives) {
        auto found = cards.find(drive.id);
        if (found != cards.end()) {
            kept.insert(*found);
            cards.erase(found);
        } else {
            kept[drive.id] = make(drive);
        }
    }
    for (auto& [id, gone] : cards) delete gone;
    cards = std::move(kept);
}

}  // namespace kestrix::views

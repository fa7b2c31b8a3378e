#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "KestrixApp/Views/Cards/DriveCard.h"

namespace kestrix::views {

// One card per listed drive, by drive id. A drive still listed keeps its card (and with it the
// keyboard focus and whatever the user was reading); a new drive gets one from `make`; the card
// of a drive no longer listed is deleted.
void updateDriveCards(std::map<std::string, DriveCard*>& cards, const std::vector<Drive>& drives,
                      const std::function<DriveCard*(const Drive&)>& make);

}  // namespace kestrix::views

#include "KestrixApp/Model/RecentReports.h"

namespace kestrix {

void addRecent(std::vector<DriveReport>& recent, DriveReport report) {
    recent.insert(recent.begin(), std::move(report));
    if (recent.size() > recentLimit) recent.resize(recentLimit);
}

}  // namespace kestrix

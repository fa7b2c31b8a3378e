#include "KestrixApp/Views/Panel/PanelText.h"

#include <string>

#include "KestrixApp/Views/ViewText.h"
#include "KestrixKit/Flow/ReportText.h"

namespace kestrix::views {

QString statusLine(std::size_t driveCount, int attentionCount) {
    if (driveCount == 0) return text("No drives connected");
    const std::string connected = std::to_string(driveCount);
    if (attentionCount > 0)
        return textFormat("Connected: %1 · need you: %2", {connected, std::to_string(attentionCount)});
    return textFormat("Connected: %1 · all ready", {connected});
}

std::optional<QString> lastEjectLine(const std::vector<DriveReport>& recent,
                                     std::chrono::system_clock::time_point now) {
    if (recent.empty()) return std::nullopt;
    const DriveReport& newest = recent.front();
    if (now - newest.date >= lastEjectShownFor) return std::nullopt;
    return QString::fromStdString(ReportText::message(newest));
}

QString hotkeyGlyphs() { return text("⌃⌥⌘E"); }

}  // namespace kestrix::views

#pragma once

#include <optional>
#include <string>

#include "KestrixApp/Model/DriveDisplay.h"
#include "KestrixApp/Views/Cards/Card.h"
#include "KestrixApp/Views/ViewContext.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix::views {

class Chip;

// One drive: its status, what keeps it from ejecting, and the next sensible action. Compact in
// the menu panel, full size in the main window. It shows the model's state of the drive and
// follows its changes; every button calls a model operation.
class DriveCard : public Card {
    Q_OBJECT
public:
    DriveCard(ViewContext& context, std::string driveId, bool compact, QWidget* parent = nullptr);

    const std::string& driveId() const { return driveId_; }

private:
    void followModel();
    void rebuild();
    QWidget* header(QWidget* parent) const;
    void addDetail(QWidget* body, const DriveDisplay& display) const;
    void addActions(QWidget* body, const DriveDisplay& display);
    QWidget* moreMenuButton(QWidget* parent, const std::vector<Holder>& holders);

    ViewContext& context_;
    const std::string driveId_;
    const bool compact_;
    Drive drive_;
    // What is on screen now, so that a change elsewhere in the model rebuilds nothing.
    std::optional<DriveDisplay> shownDisplay_;
    std::optional<std::string> shownNote_;
    std::optional<FlushProgress> shownFlush_;
    QWidget* body_ = nullptr;
};

}  // namespace kestrix::views

#pragma once

#include <QFrame>
#include <string>

#include "KestrixApp/Views/ViewContext.h"

namespace kestrix::views {

// One drive: compact in the menu panel, full size in the main window.
class DriveCard : public QFrame {
    Q_OBJECT
public:
    DriveCard(ViewContext& context, std::string driveId, bool compact, QWidget* parent = nullptr);
};

}  // namespace kestrix::views

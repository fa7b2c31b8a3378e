#pragma once

#include "KestrixApp/Desktop/Updates/DesktopNotification.h"
#include "KestrixApp/Desktop/Updates/UpdateAlerts.h"

class QWidget;

namespace kestrix::desktop {

// The alerts of a desktop session: informational message boxes when the user asked, a desktop
// notification when the daily check finds a new version.
class DialogUpdateAlerts : public UpdateAlerts {
public:
    explicit DialogUpdateAlerts(QWidget* parent = nullptr);

    void upToDate(const UpdateNotice& notice) override;
    void couldNotCheck(const UpdateNotice& notice) override;
    void newVersion(const UpdateNotice& notice, const QUrl& downloadPage) override;
    void newVersionFound(const UpdateNotice& notice, const QUrl& downloadPage) override;

private:
    void inform(const UpdateNotice& notice);

    QWidget* parent_;
    DesktopNotification notification_;
};

}  // namespace kestrix::desktop

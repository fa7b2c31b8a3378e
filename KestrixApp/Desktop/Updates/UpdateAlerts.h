#pragma once

#include <QUrl>

#include "KestrixApp/Desktop/Updates/UpdateTexts.h"

namespace kestrix::desktop {

// How the outcome of an update check reaches the user.
class UpdateAlerts {
public:
    virtual ~UpdateAlerts() = default;

    virtual void upToDate(const UpdateNotice& notice) = 0;
    virtual void couldNotCheck(const UpdateNotice& notice) = 0;
    // The user asked and there is a newer version: offer its download page.
    virtual void newVersion(const UpdateNotice& notice, const QUrl& downloadPage) = 0;
    // The daily check found a newer version: say so without interrupting.
    virtual void newVersionFound(const UpdateNotice& notice, const QUrl& downloadPage) = 0;
};

}  // namespace kestrix::desktop

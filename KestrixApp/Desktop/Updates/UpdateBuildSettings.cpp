#include "KestrixApp/Desktop/Updates/UpdateBuildSettings.h"

namespace kestrix::desktop {

QString updateFeedAddress() { return QStringLiteral(KESTRIX_UPDATE_FEED); }

QString buildVersion() { return QStringLiteral(KESTRIX_VERSION); }

}  // namespace kestrix::desktop

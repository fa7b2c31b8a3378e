#pragma once

#include <QString>

namespace kestrix::desktop {

// Packagers whose users update through their distribution build with -DKESTRIX_UPDATER=OFF: the
// shell then offers no "Check for Updates…" and never starts the daily check.
inline constexpr bool updatesEnabled = KESTRIX_UPDATER_ENABLED;

// The appcast this build asks for new versions (the KESTRIX_UPDATE_FEED build setting).
QString updateFeedAddress();

// The version this build was made as.
QString buildVersion();

}  // namespace kestrix::desktop

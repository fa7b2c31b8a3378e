#pragma once

#include <optional>
#include <string>

#include "UDisks2/UDisks2Objects.h"
#include "KestrixKit/Ejection/EjectOutcome.h"

// How the disk service's refusals read as eject outcomes. The service never names the process
// that keeps a file system busy, so busy outcomes carry no pid; its text is kept for the user.
namespace kestrix::UDisks2Refusal {

// A refused unmount of the named volume; nothing when the refusal says the file system is no
// longer mounted, which is what the request was for.
std::optional<EjectOutcome> unmount(const UDisks2Error& error, const std::string& volume);

// A refused lock, delete, eject or power-off after every file system was unmounted: busy is named
// after the drive, a device that vanished meanwhile is ejected, anything else leaves the drive
// unmounted only.
EjectOutcome eject(const UDisks2Error& error, const std::string& driveName);

// The service could not be asked at all.
EjectOutcome unreachable(const UDisks2Error& error);

}  // namespace kestrix::UDisks2Refusal

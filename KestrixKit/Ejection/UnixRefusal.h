#pragma once

#include <string>

#include "KestrixKit/Ejection/EjectOutcome.h"

// How the kernel's refusals (an errno and its text) read as eject outcomes. The kernel never
// names the process that keeps a file system busy, so busy outcomes carry no pid.
namespace kestrix::UnixRefusal {

// A refused unmount of the named volume.
EjectOutcome unmount(int errorNumber, const std::string& volume, const std::string& systemText);

// A refused eject of the device after every volume was unmounted; busy is named after the drive.
EjectOutcome eject(int errorNumber, const std::string& driveName);

}  // namespace kestrix::UnixRefusal

#pragma once

#include <memory>

#include "KestrixKit/Ejection/DiskEjecting.h"
#include "kestrixctl/PasswordPrompt.h"

namespace kestrixctl {

// The ejector of this machine: the desktop's disk service (UDisks2) where it runs on the system
// bus, as the app uses it, so that an ordinary user may eject what the desktop lets them; the
// kernel's unmount and eject calls where it does not. Nothing where this build has no D-Bus,
// which leaves the kernel's calls.
std::shared_ptr<kestrix::DiskEjecting> diskServiceEjector(PasswordPrompt& prompt);

}  // namespace kestrixctl

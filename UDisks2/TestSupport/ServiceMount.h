#pragma once

#include <optional>
#include <string>

#include "UDisks2/TestSupport/LoopImage.h"
#include "UDisks2/TestSupport/OrdinaryUser.h"
#include "UDisks2/TestSupport/UDisks2Daemon.h"

namespace kestrix::test {

// Mounts the image through the disk service as the user, once the service knows its label (udev
// tells it), as a desktop mounts a plugged-in stick under /media/USER; where it went.
std::optional<std::string> mountThroughTheService(const UDisks2Daemon& service, const LoopImage& image,
                                                  const OrdinaryUser& user);

}  // namespace kestrix::test

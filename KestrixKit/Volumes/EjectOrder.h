#pragma once

#include <vector>

#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// The order in which to eject several drives: a drive mounted in a folder of another drive, or a
// disk image whose file lies on another drive, goes before that one, which cannot go while it is
// held so; otherwise the order stays.
std::vector<Drive> ejectOrder(std::vector<Drive> drives);

}  // namespace kestrix

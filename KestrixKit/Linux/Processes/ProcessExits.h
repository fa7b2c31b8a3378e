#pragma once

#include <vector>

#include "KestrixKit/Holders/ProcessIdentity.h"

namespace kestrix {

// Returns the moment none of the processes runs any more, woken by each one's pidfd, or once the
// limit in seconds has passed. A process whose pidfd cannot be had (a kernel before 5.3) is
// looked at every quarter of a second instead. A process without a start time is the one that has
// its pid when the wait begins.
void awaitProcessExits(const std::vector<ProcessIdentity>& processes, double limitSeconds);

}  // namespace kestrix

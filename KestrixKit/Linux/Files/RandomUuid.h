#pragma once

#include "KestrixKit/Coding/Uuid.h"

namespace kestrix {

// A new random (version 4) identifier from the kernel's random source.
Uuid randomUuid();

}  // namespace kestrix

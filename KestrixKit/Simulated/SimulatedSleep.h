#pragma once

namespace kestrix {

// Time in a world is simulated: waiting returns at once.
inline void simulatedSleep(double /*seconds*/) {}

}  // namespace kestrix

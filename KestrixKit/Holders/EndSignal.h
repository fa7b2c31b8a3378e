#pragma once

namespace kestrix {

// How a program the user ticked is ended. A shell in a terminal ignores the termination signal;
// the hang-up is what closing its terminal sends it.
enum class EndSignal { terminate, hangUp };

}  // namespace kestrix

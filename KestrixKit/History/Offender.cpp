#include "KestrixKit/History/Offender.h"

#include "KestrixKit/Text/Localized.h"

namespace kestrix {

std::string blockedTimesText(int count) {
    return localizedPlural("Blocked %1 time", "Blocked %1 times", static_cast<unsigned long>(count < 0 ? 0 : count),
                           {std::to_string(count)});
}

}  // namespace kestrix

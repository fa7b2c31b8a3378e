#pragma once

#include <string>

#include "KestrixKit/Text/Localized.h"

namespace kestrix::shell {

// The answer to a request for a drive that is not connected: "No drive named NAME is connected."
inline std::string noDriveText(const std::string& name) {
    return localizedFormat("No drive named %1 is connected.", {name});
}

// An action that found no running Kestrix to carry it out.
inline std::string notRunningText() { return localized("Kestrix didn’t start in time. Open it and try again."); }

}  // namespace kestrix::shell

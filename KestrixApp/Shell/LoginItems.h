#pragma once

#include <memory>
#include <string>

#include "KestrixApp/Model/LoginItem.h"

namespace kestrix::shell {

// How this app starts at login: the desktop portal inside a Flatpak sandbox, else an entry in
// the user's autostart folder. executable: what the autostart entry runs when no desktop entry
// is installed.
std::shared_ptr<LoginItem> loginItemForThisSession(const std::string& executable);

}  // namespace kestrix::shell

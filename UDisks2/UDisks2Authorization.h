#pragma once

#include <functional>

namespace kestrix {

// How the disk service may get the user's permission for a call that polkit guards.
struct UDisks2Authorization {
    // false: the service never asks for a password (auth.no_user_interaction) and refuses what
    // would need one.
    bool mayAsk = true;
    // Called when the service would take a password but nothing could ask the user for it (or
    // asking is not allowed); true when something now can ask, and, where asking is allowed, the
    // call is made once more.
    std::function<bool()> passwordWanted;
};

}  // namespace kestrix

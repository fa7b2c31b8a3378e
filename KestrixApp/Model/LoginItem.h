#pragma once

#include <optional>
#include <string>

namespace kestrix {

// Whether the app starts when the user logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool isEnabled() const = 0;
    // Registers or unregisters the app; the failure's description when that did not work.
    virtual std::optional<std::string> setEnabled(bool on) = 0;
};

}  // namespace kestrix

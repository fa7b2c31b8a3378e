#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace kestrix {

// The result of one eject request.
struct EjectOutcome {
    // Refused because something uses the drive; pid is the process the system named.
    struct Busy {
        std::string volume;
        std::optional<std::int32_t> pid;
        std::int32_t status = 0;
        bool operator==(const Busy&) const = default;
    };
    // Refused for another reason; message is the system's text when it gave one.
    struct Failed {
        std::optional<std::string> volume;
        std::int32_t status = 0;
        std::optional<std::string> message;
        bool operator==(const Failed&) const = default;
    };
    // Every volume unmounted and the device ejected (or there was no device).
    struct Ejected {
        bool operator==(const Ejected&) const = default;
    };
    // Every volume unmounted, but the device refused to eject for a reason other than busy.
    struct UnmountedOnly {
        bool operator==(const UnmountedOnly&) const = default;
    };

    // Every volume unmounted, but a file system lives on (mounted in another mount namespace,
    // backing a loop device or a swap area, or detached lazily with files still open): the device
    // was left alone, for pulling it now would lose what is still being written.
    struct Detached {
        bool operator==(const Detached&) const = default;
    };

    std::variant<Busy, Failed, Ejected, UnmountedOnly, Detached> value;

    template <typename Case>
    bool is() const { return std::holds_alternative<Case>(value); }
    template <typename Case>
    const Case* as() const { return std::get_if<Case>(&value); }
    bool operator==(const EjectOutcome&) const = default;
};

}  // namespace kestrix

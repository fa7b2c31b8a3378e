#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kestrix {

// A parsed kestrix link: what a launcher, a stream deck or a script asks the app to do.
struct URLCommand {
    struct Eject {
        std::string drive;
        bool operator==(const Eject&) const = default;
    };
    struct Check {
        std::string drive;
        bool operator==(const Check&) const = default;
    };
    struct EjectAll {
        bool operator==(const EjectAll&) const = default;
    };
    struct Open {
        bool operator==(const Open&) const = default;
    };

    static constexpr std::string_view scheme = "kestrix";

    std::variant<Eject, Check, EjectAll, Open> command;

    bool operator==(const URLCommand&) const = default;

    // The command a link stands for; nothing when the link is not one of ours.
    static std::optional<URLCommand> parse(std::string_view url);
};

}  // namespace kestrix

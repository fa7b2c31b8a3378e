#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// What a desktop entry file says about its app.
struct DesktopEntry {
    // The Name in the first of the preferred locales it is given in, else the plain Name.
    std::string name;
    // The program its Exec line starts (a path or a bare file name), when there is one.
    std::optional<std::string> program;
    // The entry is not shown in menus: a helper or a handler, not an app the user opens.
    bool noDisplay = false;
    // The program runs in a terminal (Terminal=true): a command-line program, not a window.
    bool terminal = false;
    // The program whose presence the entry depends on (TryExec), when it names one.
    std::optional<std::string> tryExec;

    bool operator==(const DesktopEntry&) const = default;
};

// The [Desktop Entry] group of the file's text; absent without a Name, or for a Type other
// than Application. locales are the "[…]" suffixes to try for Name, most wanted first.
std::optional<DesktopEntry> parseDesktopEntry(std::string_view text, const std::vector<std::string>& locales);

// The arguments of an Exec value (escapes already resolved): split at blanks, with
// double-quoted arguments in which \" \` \$ \\ stand for the character.
std::vector<std::string> execArguments(std::string_view exec);

// The program an Exec line really starts: the first argument, after an "env" with its
// settings, and the --command of a "flatpak run".
std::optional<std::string> execProgram(const std::vector<std::string>& arguments);

}  // namespace kestrix

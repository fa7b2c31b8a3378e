#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "KestrixKit/Holders/HelperKind.h"
#include "KestrixKit/Holders/Hold.h"
#include "KestrixKit/Holders/Holder.h"

// Classifies holders and gives each kind the words the user sees.
namespace kestrix::HelperCatalog {

// name: the process name (not an app's name); isApp: the process is a regular running app;
// commandName: the command's name where it differs from name (ProcessBasics::commandName).
HelperKind kind(std::string_view name, const std::optional<std::string>& executablePath, bool isApp,
                std::int32_t pid, const std::optional<std::string>& commandName = std::nullopt);

// Apps 0, shells and command-line programs 1, Finder and sync tools 2, system services 3.
int sortRank(HelperKind kind);
// The kinds that are the system's own background work.
bool isSystemService(HelperKind kind);

std::string label(HelperKind kind);
// A symbol name for the kind's icon.
std::string symbol(HelperKind kind);
// What the holder is doing with the drive.
std::string description(const Holder& holder);
// What the user can do about a holder of this kind.
std::string advice(HelperKind kind);
// What the user can do about this holder: its kind's advice, made to fit the program where the
// program needs its own (a pager or monitor quits with q, an editor saves first, a shell that
// runs a job waits for it).
std::string advice(const Holder& holder);

// Programs run in a terminal that quit their own way.
enum class TerminalProgram { other, pager, monitor, vimEditor, nanoEditor, emacsEditor, editor };
TerminalProgram terminalProgram(const Holder& holder);
bool isEditor(TerminalProgram program);

// The sentence for a program that still runs after it was asked to stop (never an app): it
// names the program and what to do about it ("bash is still running. In its terminal, type
// cd ~, or close the terminal.").
std::string stillRunning(const Holder& holder);
// For an app the desktop gives no way to ask to quit: that the user closes it, and Kestrix ejects.
std::string cannotAskToQuit(const Holder& holder);
// One line about one hold, naming the file by its last path component.
std::string holdLine(const Hold& hold);

}  // namespace kestrix::HelperCatalog

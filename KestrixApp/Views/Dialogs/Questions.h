#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Volumes/Drive.h"

// What the confirmation questions say, as plain rules over the drive and its holders.
namespace kestrix::views {

struct Question {
    std::string message;
    // Shown below the message, a blank line between each two.
    std::vector<std::string> paragraphs;
};

// A command-line program the user may let Kestrix end.
struct ProgramChoice {
    std::int32_t pid = 0;
    std::string title;
    // A program that could lose work starts unticked (HolderPolicy::endsByDefault).
    bool ticked = true;
};

struct QuitQuestion {
    Question text;
    // The holders offered endProcess, in the holders' order.
    std::vector<ProgramChoice> programs;
};

QuitQuestion quitQuestion(const Drive& drive, const std::vector<Holder>& holders, std::uint32_t currentUID);
// Names the holders that are writing: forcing now is likely to damage their files.
Question forceEjectQuestion(const Drive& drive, const std::vector<Holder>& holders);
Question stopBackupQuestion(const Drive& drive);
Question clearHistoryQuestion();

}  // namespace kestrix::views

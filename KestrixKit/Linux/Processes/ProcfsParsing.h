#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Holders/VnodeRef.h"

// Readers for the text files of /proc, kept apart from the file access so they can be tested.
namespace kestrix::procfs {

struct StatusFields {
    std::string name;
    std::uint32_t effectiveUID = 0;
    std::int32_t parentPID = 0;

    bool operator==(const StatusFields&) const = default;
};

// The Name, effective Uid and PPid lines of /proc/PID/status; absent without Name or Uid.
std::optional<StatusFields> parseStatus(std::string_view text);

// The whole name of a command whose name the kernel cut short, from its command
// line (/proc/PID/cmdline, NUL-separated): the file name of the program or, after an
// interpreter, of its script, when it begins with the cut name; else the name as given.
std::string wholeCommandName(std::string_view name, std::string_view commandLine);

// The process ids of a /proc/PID/task/TID/children list (blank-separated), in its order.
std::vector<std::int32_t> parsePIDList(std::string_view text);

// The name the user typed to start the process, from its command line (/proc/PID/cmdline,
// NUL-separated) and its whole command name: the file name of the program as typed ("vim" run
// as vim.basic, "python3" run as python3.11, "-bash" for a login shell), or of the script that
// an interpreter runs ("backup.sh"). Absent when the command line was rewritten by the program
// ("sshd: user@pts/0") or is missing (a kernel thread): then nothing tells what was typed.
std::optional<std::string> typedName(std::string_view commandName, std::string_view commandLine);

// Whether /proc/PID/fdinfo/N shows a descriptor open for writing (write-only or read-write);
// absent without a flags line.
std::optional<bool> parseFdinfoWriting(std::string_view text);

struct MappedRegion {
    std::string path;
    // major:minor in the kernel's 32-bit encoding, as st_dev reports it.
    std::uint32_t device = 0;
};

// One line of /proc/PID/maps when the region is backed by a file (its path starts with "/").
std::optional<MappedRegion> parseMapsLine(std::string_view line);

// The file-backed regions of /proc/PID/maps, each path once, lowest address first.
std::vector<VnodeRef> parseMaps(std::string_view text);

struct StatFields {
    // 'R', 'S', 'Z' …
    char state = 0;
    std::int32_t parentPID = 0;
    // Clock ticks after boot (field 22): with the pid, one process for its whole life.
    std::uint64_t startTime = 0;

    bool operator==(const StatFields&) const = default;
};

// The state, parent and start time of /proc/PID/stat: the fields after the name, which is in
// parentheses and may itself hold blanks and parentheses. Absent when one of them is missing.
std::optional<StatFields> parseStat(std::string_view text);

// The pid a /proc entry's name is, when it names a process ("412"); absent for "self", "net" and
// the like.
std::optional<std::int32_t> processIDOfEntry(std::string_view entryName);

// The number of a namespace from its /proc/PID/ns link ("mnt:[4026531841]" for the kind "mnt");
// absent for another kind or a malformed link.
std::optional<std::uint64_t> parseNamespaceLink(std::string_view link, std::string_view kind);

// The path of a file that was deleted while in use, without the " (deleted)" mark.
std::string withoutDeletedMark(std::string path);

}  // namespace kestrix::procfs

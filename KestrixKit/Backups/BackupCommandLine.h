#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the command lines of the backup tools say: which tool a process is, and where its
// repository lies.
namespace kestrix::BackupCommandLine {

// The words of a command line as /proc/PID/cmdline holds them, NUL-separated; invalid UTF-8 replaced.
std::vector<std::string> words(std::string_view commandLine);

// The program a command line runs: the file name of its first word or, after an interpreter
// (python3, perl, sh …) and its options, of the script it runs.
std::string programName(const std::vector<std::string>& arguments);

// The repository of a borg command: -r/--repo (borg 2), else the part before "::" of the first
// REPO::ARCHIVE, else the first word after the subcommand. Absent when it names none.
std::optional<std::string> borgRepository(const std::vector<std::string>& arguments);

// The repository of a restic command: -r/--repo.
std::optional<std::string> resticRepository(const std::vector<std::string>& arguments);

// Whether a timeshift command makes (or checks for and makes) a snapshot.
bool isTimeshiftBackup(const std::vector<std::string>& arguments);

// The folder a repository names on this computer: a path, a file:// URL or restic's local:PATH,
// a relative one placed in the working folder; absent for a remote one (ssh, sftp, s3 …).
std::optional<std::string> localFolder(std::string_view repository, const std::optional<std::string>& workingFolder);

}  // namespace kestrix::BackupCommandLine

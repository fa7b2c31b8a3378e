#include "KestrixKit/Backups/BackupCommandLine.h"

#include <algorithm>

#include "KestrixKit/Text/ValidUTF8.h"

namespace kestrix::BackupCommandLine {
namespace {

std::string_view lastComponent(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool isInterpreter(std::string_view name) {
    for (const std::string_view interpreter : {"python", "perl", "ruby", "sh", "bash", "dash", "env"}) {
        if (name.starts_with(interpreter)) {
            // python3, python3.11, perl5.36 …, but not "shred" or "envoy".
            const std::string_view rest = name.substr(interpreter.size());
            if (std::all_of(rest.begin(), rest.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
                return true;
        }
    }
    return false;
}

bool isOption(std::string_view word) { return word.size() > 1 && word.front() == '-'; }

// Where the program's own word is: the first, or after an interpreter and its options, the script.
std::size_t programIndex(const std::vector<std::string>& arguments) {
    if (arguments.empty() || !isInterpreter(lastComponent(arguments.front()))) return 0;
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (!isOption(arguments[index])) return index;
        // An interpreter's own code or command, not a script.
        if (arguments[index] == "-c" || arguments[index] == "-e") break;
    }
    return 0;
}

// The value of -r/--repo: "--repo X", "--repo=X", "-r X" or "-rX".
std::optional<std::string> repoOption(const std::vector<std::string>& arguments) {
    for (std::size_t index = programIndex(arguments) + 1; index < arguments.size(); ++index) {
        const std::string_view word = arguments[index];
        if (word == "--") break;
        const bool takesNext = word == "-r" || word == "--repo";
        if (takesNext && index + 1 < arguments.size()) return arguments[index + 1];
        if (word.starts_with("--repo=")) return std::string(word.substr(7));
        if (word.starts_with("-r") && !word.starts_with("--") && word.size() > 2) {
            return std::string(word.substr(word[2] == '=' ? 3 : 2));
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> words(std::string_view commandLine) {
    std::vector<std::string> found;
    std::size_t start = 0;
    while (start < commandLine.size()) {
        std::size_t end = commandLine.find('\0', start);
        if (end == std::string_view::npos) end = commandLine.size();
        found.push_back(text::validUTF8(std::string(commandLine.substr(start, end - start))));
        start = end + 1;
    }
    return found;
}

std::string programName(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return {};
    return std::string(lastComponent(arguments[programIndex(arguments)]));
}

std::optional<std::string> borgRepository(const std::vector<std::string>& arguments) {
    if (auto repo = repoOption(arguments)) return repo;
    const std::size_t first = programIndex(arguments) + 1;
    for (std::size_t index = first; index < arguments.size(); ++index) {
        const std::string& word = arguments[index];
        const std::size_t mark = word.find("::");
        if (!isOption(word) && mark != std::string::npos) {
            // "::ARCHIVE" alone takes the repository from BORG_REPO, which the command line doesn't show.
            if (mark == 0) return std::nullopt;
            return word.substr(0, mark);
        }
    }
    // borg check REPO, borg prune REPO …: the word after the subcommand, when it is a path.
    bool subcommandSeen = false;
    for (std::size_t index = first; index < arguments.size(); ++index) {
        const std::string& word = arguments[index];
        if (isOption(word)) continue;
        if (!subcommandSeen) {
            subcommandSeen = true;
            continue;
        }
        if (word.starts_with('/') || word.starts_with("file://")) return word;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> resticRepository(const std::vector<std::string>& arguments) {
    return repoOption(arguments);
}

bool isTimeshiftBackup(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return false;
    return std::any_of(arguments.begin() + static_cast<std::ptrdiff_t>(programIndex(arguments)) + 1, arguments.end(),
                       [](const std::string& word) { return word == "--create" || word == "--check"; });
}

std::optional<std::string> localFolder(std::string_view repository, const std::optional<std::string>& workingFolder) {
    if (repository.starts_with("file://")) repository.remove_prefix(7);
    else if (repository.starts_with("local:")) repository.remove_prefix(6);
    if (repository.empty()) return std::nullopt;
    if (repository.starts_with('/')) return std::string(repository);
    // user@host:path, sftp:…, s3:…, rest:… live elsewhere.
    if (repository.find(':') != std::string_view::npos) return std::nullopt;
    if (!workingFolder || !workingFolder->starts_with('/')) return std::nullopt;
    std::string folder = *workingFolder;
    if (!folder.ends_with('/')) folder += '/';
    if (repository.starts_with("./")) repository.remove_prefix(2);
    return folder + std::string(repository);
}

}  // namespace kestrix::BackupCommandLine

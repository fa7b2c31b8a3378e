#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

#include <charconv>
#include <set>
#include <fcntl.h>
#include <sys/sysmacros.h>


#include "KestrixKit/Holders/CutCommandName.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Text/ValidUTF8.h"

namespace kestrix::procfs {
namespace {

std::string_view nextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

std::string_view skipBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

std::string_view nextField(std::string_view& text) {
    text = skipBlanks(text);
    const std::size_t end = text.find_first_of(" \t");
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return field;
}

template <typename Number>
std::optional<Number> number(std::string_view text, int base = 10) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The kernel escapes control characters and backslashes in a process's short name.
std::string unescapedName(std::string_view escaped) {
    std::string name;
    for (std::size_t index = 0; index < escaped.size(); ++index) {
        if (escaped[index] != '\\' || index + 1 == escaped.size()) {
            name += escaped[index];
            continue;
        }
        const char code = escaped[++index];
        switch (code) {
            case 'n': name += '\n'; break;
            case 't': name += '\t'; break;
            case 'r': name += '\r'; break;
            case 'f': name += '\f'; break;
            case 'v': name += '\v'; break;
            case 'a': name += '\a'; break;
            case 'e': name += '\x1b'; break;
            default: name += code; break;
        }
    }
    return name;
}

}  // namespace

std::string wholeCommandName(std::string_view name, std::string_view commandLine) {
    // The program, then its first argument: a script run by an interpreter.
    for (int argument = 0; argument < 2 && !commandLine.empty(); ++argument) {
        const std::size_t end = commandLine.find('\0');
        const std::string_view word = commandLine.substr(0, end);
        commandLine.remove_prefix(end == std::string_view::npos ? commandLine.size() : end + 1);
        const std::string_view fileName = word.substr(word.find_last_of('/') + 1);
        if (isCutFrom(name, fileName)) return text::validUTF8(std::string(fileName));
    }
    return std::string(name);
}

std::optional<StatusFields> parseStatus(std::string_view text) {
    std::optional<std::string> name;
    std::optional<std::uint32_t> uid;
    std::int32_t parentPID = 0;
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, colon);
        std::string_view value = line.substr(colon + 1);
        if (key == "Name") {
            // The name is everything after the tab, blanks included.
            if (value.starts_with('\t')) value.remove_prefix(1);
            name = unescapedName(value);
        } else if (key == "Uid") {
            nextField(value);  // the real user id; the effective one follows
            uid = number<std::uint32_t>(nextField(value));
        } else if (key == "PPid") {
            parentPID = number<std::int32_t>(nextField(value)).value_or(0);
        }
    }
    if (!name || !uid) return std::nullopt;
    return StatusFields{.name = text::validUTF8(std::move(*name)), .effectiveUID = *uid, .parentPID = parentPID};
}

std::vector<std::int32_t> parsePIDList(std::string_view text) {
    std::vector<std::int32_t> pids;
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(" \t\n");
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const std::size_t end = text.find_first_of(" \t\n");
        if (const auto pid = number<std::int32_t>(text.substr(0, end)); pid && *pid > 0) pids.push_back(*pid);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    }
    return pids;
}

std::optional<std::string> typedName(std::string_view commandName, std::string_view commandLine) {
    // The kernel names a process after the file that was run, as it was given; argv[0] is the
    // name it was given by (an alternative's link, a login shell's "-"), unless it was rewritten.
    const auto names = [&](std::string_view fileName) {
        return !fileName.empty() && (fileName == commandName || isCutFrom(commandName, fileName));
    };
    for (int argument = 0; argument < 2 && !commandLine.empty(); ++argument) {
        const std::size_t end = commandLine.find('\0');
        const std::string_view word = commandLine.substr(0, end);
        commandLine.remove_prefix(end == std::string_view::npos ? commandLine.size() : end + 1);
        const std::string_view fileName = word.substr(word.find_last_of('/') + 1);
        if (fileName.find_first_of(" :") != std::string_view::npos) return std::nullopt;
        const std::string_view loginless = fileName.starts_with('-') ? fileName.substr(1) : fileName;
        // The program, then the script that an interpreter (the program) runs.
        if (names(fileName) || (argument == 0 && names(loginless))) return text::validUTF8(std::string(fileName));
    }
    return std::nullopt;
}

std::optional<bool> parseFdinfoWriting(std::string_view text) {
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        if (!line.starts_with("flags:")) continue;
        line.remove_prefix(6);
        const std::optional<unsigned> flags = number<unsigned>(nextField(line), 8);
        if (!flags) return std::nullopt;
        const unsigned accessMode = *flags & O_ACCMODE;
        return accessMode == O_WRONLY || accessMode == O_RDWR;
    }
    return std::nullopt;
}

std::optional<MappedRegion> parseMapsLine(std::string_view line) {
    nextField(line);  // address range
    nextField(line);  // permissions
    nextField(line);  // offset
    const std::string_view device = nextField(line);
    nextField(line);  // inode
    const std::string_view path = skipBlanks(line);
    if (!path.starts_with('/')) return std::nullopt;
    const std::size_t colon = device.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::optional<unsigned> major = number<unsigned>(device.substr(0, colon), 16);
    const std::optional<unsigned> minor = number<unsigned>(device.substr(colon + 1), 16);
    if (!major || !minor) return std::nullopt;
    return MappedRegion{.path = text::validUTF8(std::string(path)), .device = kernelDeviceNumber(makedev(*major, *minor))};
}

std::vector<VnodeRef> parseMaps(std::string_view text) {
    std::vector<VnodeRef> files;
    std::set<std::string, std::less<>> seen;
    while (!text.empty()) {
        std::optional<MappedRegion> region = parseMapsLine(nextLine(text));
        if (!region || !seen.insert(region->path).second) continue;
        files.push_back(VnodeRef{.path = std::move(region->path), .device = region->device});
    }
    return files;
}

std::optional<StatFields> parseStat(std::string_view text) {
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string_view::npos) return std::nullopt;
    std::string_view rest = text.substr(nameEnd + 1);
    const std::string_view state = nextField(rest);  // field 3
    if (state.size() != 1) return std::nullopt;
    const std::optional<std::int32_t> parentPID = number<std::int32_t>(nextField(rest));  // field 4
    // Fields 5 (process group) to 21 (itrealvalue), then the start time.
    for (int field = 5; field < 22; ++field) nextField(rest);
    const std::optional<std::uint64_t> startTime = number<std::uint64_t>(nextField(rest));
    if (!parentPID || !startTime) return std::nullopt;
    return StatFields{.state = state.front(), .parentPID = *parentPID, .startTime = *startTime};
}

std::string withoutDeletedMark(std::string path) {
    constexpr std::string_view mark = " (deleted)";
    if (path.ends_with(mark)) path.resize(path.size() - mark.size());
    return path;
}

std::optional<std::int32_t> processIDOfEntry(std::string_view entryName) {
    std::int32_t pid = 0;
    const auto [stop, error] = std::from_chars(entryName.data(), entryName.data() + entryName.size(), pid);
    if (error != std::errc{} || stop != entryName.data() + entryName.size() || pid <= 0) return std::nullopt;
    return pid;
}

std::optional<std::uint64_t> parseNamespaceLink(std::string_view link, std::string_view kind) {
    if (!link.starts_with(kind) || link.substr(kind.size()).size() < 3 || link[kind.size()] != ':' ||
        link[kind.size() + 1] != '[' || !link.ends_with(']')) {
        return std::nullopt;
    }
    const std::string_view digits = link.substr(kind.size() + 2, link.size() - kind.size() - 3);
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
    return number;
}

}  // namespace kestrix::procfs

#include "KestrixKit/Ejection/WritebackParsing.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

namespace kestrix::writeback {
namespace {

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> fields(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t begin = text.find_first_not_of(" \t\n", at);
        if (begin == std::string_view::npos) break;
        const std::size_t end = std::min(text.find_first_of(" \t\n", begin), text.size());
        words.push_back(text.substr(begin, end - begin));
        at = end;
    }
    return words;
}

// The value of a "Name:   123 kB" line, in bytes.
std::optional<std::uint64_t> kilobytesLine(std::string_view meminfo, std::string_view name) {
    for (std::size_t at = 0; at < meminfo.size();) {
        const std::size_t end = std::min(meminfo.find('\n', at), meminfo.size());
        const std::string_view line = meminfo.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(name) || line.substr(name.size()).find(':') != 0) continue;
        const std::vector<std::string_view> words = fields(line.substr(name.size() + 1));
        if (words.empty()) return std::nullopt;
        const std::optional<std::uint64_t> kilobytes = number(words.front());
        if (!kilobytes || *kilobytes > std::numeric_limits<std::uint64_t>::max() / 1024) return std::nullopt;
        return *kilobytes * 1024;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> cachedBytes(std::string_view meminfo) {
    const std::optional<std::uint64_t> dirty = kilobytesLine(meminfo, "Dirty");
    const std::optional<std::uint64_t> writeback = kilobytesLine(meminfo, "Writeback");
    if (!dirty && !writeback) return std::nullopt;
    const std::uint64_t sum = dirty.value_or(0) + writeback.value_or(0);
    return sum < dirty.value_or(0) ? std::numeric_limits<std::uint64_t>::max() : sum;
}

std::optional<DeviceWrites> deviceWrites(std::string_view stat) {
    const std::vector<std::string_view> words = fields(stat);
    if (words.size() < 9) return std::nullopt;
    const std::optional<std::uint64_t> sectors = number(words[6]);
    const std::optional<std::uint64_t> inFlight = number(words[8]);
    if (!sectors || !inFlight || *sectors > std::numeric_limits<std::uint64_t>::max() / 512) return std::nullopt;
    return DeviceWrites{.writtenBytes = *sectors * 512, .inFlight = *inFlight};
}

}  // namespace kestrix::writeback

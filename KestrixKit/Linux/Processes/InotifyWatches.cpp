#include "KestrixKit/Linux/Processes/InotifyWatches.h"

#include <charconv>
#include <string>

namespace kestrix {
namespace {

// The kernel never makes a handle longer than this (MAX_HANDLE_SZ).
constexpr std::size_t longestHandle = 128;

std::string_view nextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

std::string_view nextField(std::string_view& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const std::size_t end = text.find(' ');
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return field;
}

template <typename Number>
std::optional<Number> hex(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<unsigned char>> hexBytes(std::string_view text) {
    if (text.size() % 2 != 0 || text.size() / 2 > longestHandle) return std::nullopt;
    std::vector<unsigned char> bytes;
    for (std::size_t index = 0; index < text.size(); index += 2) {
        const std::optional<unsigned char> byte = hex<unsigned char>(text.substr(index, 2));
        if (!byte) return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

std::optional<InotifyWatch> parseWatch(std::string_view line) {
    if (nextField(line) != "inotify") return std::nullopt;
    std::optional<std::uint64_t> inode;
    std::optional<std::uint32_t> kernelDevice;
    std::optional<std::uint32_t> mask;
    std::optional<std::uint32_t> handleBytes;
    std::optional<int> handleType;
    std::optional<std::vector<unsigned char>> handle;
    for (std::string_view field = nextField(line); !field.empty(); field = nextField(line)) {
        const std::size_t colon = field.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view key = field.substr(0, colon);
        const std::string_view value = field.substr(colon + 1);
        if (key == "ino") inode = hex<std::uint64_t>(value);
        if (key == "sdev") kernelDevice = hex<std::uint32_t>(value);
        if (key == "mask") mask = hex<std::uint32_t>(value);
        if (key == "fhandle-bytes") handleBytes = hex<std::uint32_t>(value);
        if (key == "fhandle-type") handleType = hex<int>(value);
        if (key == "f_handle") handle = hexBytes(value);
    }
    if (!inode || !kernelDevice || !mask) return std::nullopt;
    InotifyWatch watch{.inode = *inode, .device = deviceFromKernelDevice(*kernelDevice), .mask = *mask};
    if (handle && !handle->empty() && handleType && handleBytes && *handleBytes == handle->size()) {
        watch.handle = WatchedFileHandle{.type = *handleType, .bytes = std::move(*handle)};
    }
    return watch;
}

}  // namespace

std::uint32_t deviceFromKernelDevice(std::uint32_t kernelDevice) {
    const std::uint32_t major = kernelDevice >> 20;
    const std::uint32_t minor = kernelDevice & 0xfffffu;
    return (minor & 0xffu) | (major << 8) | ((minor & ~0xffu) << 12);
}

std::vector<InotifyWatch> parseInotifyWatches(std::string_view fdinfo) {
    std::vector<InotifyWatch> watches;
    while (!fdinfo.empty()) {
        if (std::optional<InotifyWatch> watch = parseWatch(nextLine(fdinfo))) watches.push_back(std::move(*watch));
    }
    return watches;
}

}  // namespace kestrix

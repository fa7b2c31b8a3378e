#include "KestrixKit/Linux/Files/HistoryFile.h"

#include <fstream>
#include <iterator>

#include "KestrixKit/History/HistoryCoding.h"

namespace kestrix {
namespace {

// Far beyond any real history (500 events take a few hundred kilobytes); a larger file is
// not read into memory.
constexpr std::uintmax_t largestReadableFile = 64 * 1024 * 1024;

}  // namespace

History loadHistory(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    file.seekg(0, std::ios::end);
    const auto size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > largestReadableFile) return {};
    file.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), size)) return {};
    return decodeHistory(bytes);
}

std::optional<std::string> saveHistory(const History& history, const std::string& path, const filesupport::ReplaceFile& replace) {
    return filesupport::writeFileAtomically(path, encodeHistory(history), replace);
}

}  // namespace kestrix

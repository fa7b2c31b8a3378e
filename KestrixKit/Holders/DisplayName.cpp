#include "KestrixKit/Holders/DisplayName.h"

#include <vector>

namespace kestrix {
namespace {

std::vector<std::string_view> pathPieces(std::string_view path) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        if (end > start) pieces.push_back(path.substr(start, end - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return pieces;
}

}  // namespace

std::string displayName(std::string_view path) {
    const std::vector<std::string_view> pieces = pathPieces(path);
    if (pieces.empty()) return {};
    constexpr std::string_view bundleSuffix = ".app";
    for (std::size_t index = pieces.size(); index-- > 0;) {
        if (!pieces[index].ends_with(bundleSuffix)) continue;
        // Only an app's own executable takes the bundle's name, not a helper tool deep inside it.
        const bool nearTheEnd = pieces.size() - index < 5;
        if (nearTheEnd && path.find(".app/Contents/MacOS/") != std::string_view::npos) {
            return std::string(pieces[index].substr(0, pieces[index].size() - bundleSuffix.size()));
        }
        break;
    }
    return std::string(pieces.back());
}

}  // namespace kestrix

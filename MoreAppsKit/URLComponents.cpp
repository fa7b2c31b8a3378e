#include "MoreAppsKit/URLComponents.h"

#include <algorithm>
#include <climits>
#include <vector>

#include <uriparser/Uri.h>

namespace moreapps {

namespace {

// Owns a parse of `text`; the parse points into the text, so both live together.
class ParsedURI {
public:
    explicit ParsedURI(std::string_view text) : text_(text) {
        const char* errorPosition = nullptr;
        parsed_ = uriParseSingleUriExA(&uri_, text_.data(), text_.data() + text_.size(), &errorPosition) ==
                  URI_SUCCESS;
    }
    ~ParsedURI() {
        if (parsed_) uriFreeUriMembersA(&uri_);
    }
    ParsedURI(const ParsedURI&) = delete;
    ParsedURI& operator=(const ParsedURI&) = delete;

    bool parsed() const { return parsed_; }
    UriUriA& uri() { return uri_; }

private:
    std::string text_;
    UriUriA uri_{};
    bool parsed_ = false;
};

std::optional<std::string> part(const UriTextRangeA& range) {
    if (range.first == nullptr) return std::nullopt;
    return std::string(range.first, range.afterLast);
}

std::string toString(const UriUriA& uri) {
    int length = 0;
    if (uriToStringCharsRequiredA(&uri, &length) != URI_SUCCESS || length == INT_MAX) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    if (uriToStringA(buffer.data(), &uri, length + 1, nullptr) != URI_SUCCESS) return {};
    return std::string(buffer.data());
}

}  // namespace

std::optional<URLComponents> URLComponents::parse(std::string_view url) {
    ParsedURI parsed(url);
    if (!parsed.parsed()) return std::nullopt;
    const UriUriA& uri = parsed.uri();
    return URLComponents{
        .scheme = part(uri.scheme).value_or(""),
        .userInfo = part(uri.userInfo),
        .host = part(uri.hostText),
        .port = part(uri.portText),
        .query = part(uri.query),
        .fragment = part(uri.fragment),
    };
}

std::string URLComponents::lowercaseHost() const {
    std::string lower = host.value_or("");
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::optional<std::string> URLComponents::replacingQuery(std::string_view url, std::string_view query) {
    ParsedURI parsed(url);
    if (!parsed.parsed()) return std::nullopt;
    parsed.uri().query.first = query.data();
    parsed.uri().query.afterLast = query.data() + query.size();
    std::string result = toString(parsed.uri());
    if (result.empty()) return std::nullopt;
    return result;
}

}  // namespace moreapps

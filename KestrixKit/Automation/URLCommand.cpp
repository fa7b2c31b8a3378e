#include "KestrixKit/Automation/URLCommand.h"

#include <uriparser/Uri.h>

#include <vector>

#include "KestrixKit/Text/PlainText.h"
#include "KestrixKit/Text/UnicodeText.h"
#include "KestrixKit/Text/ValidUTF8.h"

namespace kestrix {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isURICharacter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("-._~:/?#[]@!$&'()*+,;=").find(static_cast<char>(c)) != std::string_view::npos;
}

// Links typed by hand or passed on by a desktop often hold spaces or letters a URL may not
// carry; they are percent-encoded first, as a browser's address bar does, and a '%' that starts
// no escape stands for itself.
std::string encodingInvalidCharacters(std::string_view link) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (std::size_t i = 0; i < link.size(); ++i) {
        const auto c = static_cast<unsigned char>(link[i]);
        const bool startsEscape = c == '%' && i + 2 < link.size() && isHexDigit(link[i + 1]) && isHexDigit(link[i + 2]);
        if (isURICharacter(c) || startsEscape) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0xF];
        }
    }
    return encoded;
}

std::string asciiLowercased(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string decoded(const char* first, const char* afterLast) {
    if (first == nullptr) return {};
    std::string text(first, afterLast);
    // Decoding never makes the text longer; the end it reports is where the text now stops.
    const char* end = uriUnescapeInPlaceExA(text.data(), URI_FALSE, URI_BR_DONT_TOUCH);
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
}

class ParsedLink {
public:
    explicit ParsedLink(std::string text) : text_(std::move(text)) {
        const char* errorPosition = nullptr;
        parsed_ = uriParseSingleUriExA(&uri_, text_.data(), text_.data() + text_.size(), &errorPosition) ==
                  URI_SUCCESS;
    }
    ~ParsedLink() {
        if (parsed_) uriFreeUriMembersA(&uri_);
    }
    ParsedLink(const ParsedLink&) = delete;
    ParsedLink& operator=(const ParsedLink&) = delete;

    bool parsed() const { return parsed_; }
    const UriUriA& uri() const { return uri_; }

private:
    std::string text_;
    UriUriA uri_{};
    bool parsed_ = false;
};

// The word after "kestrix://" (the host), or the path for "kestrix:word", percent-decoded like
// the drive name (so "eject%2Dall" is "eject-all"), without slashes at either end and in lower
// case.
std::string commandWord(const UriUriA& uri) {
    std::string word;
    if (uri.hostText.first != nullptr && uri.hostText.first != uri.hostText.afterLast) {
        word.assign(uri.hostText.first, uri.hostText.afterLast);
    } else {
        for (const UriPathSegmentA* segment = uri.pathHead; segment != nullptr; segment = segment->next) {
            if (segment != uri.pathHead) word += '/';
            word.append(segment->text.first, segment->text.afterLast);
        }
    }
    return asciiLowercased(text::trimming(decoded(word.data(), word.data() + word.size()), "/"));
}

// The value of the first query item named "drive", "name" or "volume" (in any case), trimmed;
// nothing when that item has no value.
std::optional<std::string> driveName(const UriUriA& uri) {
    if (uri.query.first == nullptr) return std::nullopt;
    const std::string_view query(uri.query.first, static_cast<std::size_t>(uri.query.afterLast - uri.query.first));
    std::size_t start = 0;
    while (start <= query.size()) {
        auto end = query.find('&', start);
        if (end == std::string_view::npos) end = query.size();
        const auto item = query.substr(start, end - start);
        const auto equals = item.find('=');
        const auto rawName = item.substr(0, equals);
        const auto name = asciiLowercased(decoded(rawName.data(), rawName.data() + rawName.size()));
        if (name == "drive" || name == "name" || name == "volume") {
            if (equals == std::string_view::npos) return std::nullopt;
            const auto rawValue = item.substr(equals + 1);
            // A name that is not valid UTF-8 must still name one drive (and match none), never
            // turn into a missing name, which would eject every drive.
            return text::trimmed(text::validUTF8(decoded(rawValue.data(), rawValue.data() + rawValue.size())));
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<URLCommand> URLCommand::parse(std::string_view url) {
    const ParsedLink link(encodingInvalidCharacters(url));
    if (!link.parsed() || link.uri().scheme.first == nullptr) return std::nullopt;
    if (asciiLowercased(std::string(link.uri().scheme.first, link.uri().scheme.afterLast)) != scheme)
        return std::nullopt;
    const auto word = commandWord(link.uri());
    const auto drive = driveName(link.uri());
    const bool namesDrive = drive && !drive->empty();
    if (word == "eject-all" || word == "ejectall" || word == "eject_all") return URLCommand{EjectAll{}};
    if (word == "eject") return namesDrive ? URLCommand{Eject{*drive}} : URLCommand{EjectAll{}};
    if (word == "check") return namesDrive ? std::optional(URLCommand{Check{*drive}}) : std::nullopt;
    if (word == "show" || word == "open" || word.empty()) return URLCommand{Open{}};
    return std::nullopt;
}

}  // namespace kestrix

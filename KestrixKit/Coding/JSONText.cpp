#include "KestrixKit/Coding/JSONText.h"

namespace kestrix::coding {

std::string jsonText(const nlohmann::json& document) {
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json parseWholeJSON(std::string_view bytes) {
    // The parser takes a NUL byte for the end of its input, whatever the range it is given, so a
    // value followed by a NUL and anything at all would pass. A NUL has no place in JSON text
    // (inside strings it must be escaped), so a text holding one is refused whole.
    if (bytes.find('\0') != std::string_view::npos) return nlohmann::json(nlohmann::json::value_t::discarded);
    return nlohmann::json::parse(bytes, nullptr, false);
}

}  // namespace kestrix::coding

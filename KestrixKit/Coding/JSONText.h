#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// JSON as text, in and out, for anything read from or shown to the outside.
namespace kestrix::coding {

// The document pretty-printed with two spaces. Names, labels and paths come from the system and
// need not be valid UTF-8; each invalid sequence is written as U+FFFD instead of failing.
std::string jsonText(const nlohmann::json& document);

// The one JSON value the bytes hold, or a discarded value when they hold anything else, such as
// trailing bytes after the value.
nlohmann::json parseWholeJSON(std::string_view bytes);

}  // namespace kestrix::coding

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "KestrixKit/History/History.h"
#include "KestrixKit/History/Offender.h"

// The history file's form: {"events": [...]}, dates as ISO 8601 in UTC with whole seconds.
namespace kestrix {

nlohmann::json historyJson(const History& history);
nlohmann::json offenderJson(const Offender& offender);

// The file's bytes: pretty-printed, keys sorted.
std::string encodeHistory(const History& history);

// The history those bytes hold, whole even beyond the limit; nothing for anything that is not a
// history file (malformed JSON, bytes after the document, a missing field, an unknown outcome or
// kind, a date in another form).
std::optional<History> decodeHistory(std::string_view bytes);

}  // namespace kestrix

#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace moreapps {

// Why a feed was refused: the first rule it broke.
class MoreAppsError {
public:
    enum class Kind { schema, count, invalid, tooLarge, notJSON };

    static MoreAppsError schema(std::int64_t schema) { return {Kind::schema, schema, {}}; }
    static MoreAppsError count(std::int64_t count) { return {Kind::count, count, {}}; }
    static MoreAppsError invalid(std::string text) { return {Kind::invalid, 0, std::move(text)}; }
    static MoreAppsError tooLarge() { return {Kind::tooLarge, 0, {}}; }
    static MoreAppsError notJSON() { return {Kind::notJSON, 0, {}}; }

    Kind kind() const { return kind_; }
    // The schema or the number of apps, for `schema` and `count`.
    std::int64_t number() const { return number_; }
    // The broken rule and the entry, for `invalid`.
    const std::string& text() const { return text_; }

    // One line such as "count: 61" or "invalid: url of foo".
    std::string description() const;

    bool operator==(const MoreAppsError&) const = default;

private:
    MoreAppsError(Kind kind, std::int64_t number, std::string text)
        : kind_(kind), number_(number), text_(std::move(text)) {}

    Kind kind_;
    std::int64_t number_;
    std::string text_;
};

inline std::ostream& operator<<(std::ostream& out, const MoreAppsError& error) {
    return out << error.description();
}

}  // namespace moreapps

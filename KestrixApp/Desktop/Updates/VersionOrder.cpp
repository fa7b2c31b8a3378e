#include "KestrixApp/Desktop/Updates/VersionOrder.h"

#include <algorithm>
#include <cctype>

namespace kestrix::desktop {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The component's number as its digits without leading zeros ("" for zero).
std::string_view number(std::string_view component) {
    const auto digitsEnd = std::find_if_not(component.begin(), component.end(), isDigit);
    std::string_view digits(component.begin(), digitsEnd);
    const auto first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

std::strong_ordering compareNumbers(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) return left.size() <=> right.size();
    return left.compare(right) <=> 0;
}

// Takes the next component off the front of the version.
std::string_view nextComponent(std::string_view& version) {
    const auto dot = version.find('.');
    const auto component = version.substr(0, dot);
    version = dot == std::string_view::npos ? std::string_view() : version.substr(dot + 1);
    return component;
}

}  // namespace

std::strong_ordering compareVersions(std::string_view left, std::string_view right) {
    while (!left.empty() || !right.empty()) {
        const auto order = compareNumbers(number(nextComponent(left)), number(nextComponent(right)));
        if (order != 0) return order;
    }
    return std::strong_ordering::equal;
}

bool isVersion(std::string_view text) { return !text.empty() && isDigit(text.front()); }

}  // namespace kestrix::desktop

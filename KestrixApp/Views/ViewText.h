#pragma once

#include <QString>
#include <initializer_list>
#include <string_view>

#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {

// A user-visible text in the user's language, as Qt wants it.
inline QString text(std::string_view english) { return QString::fromStdString(localized(english)); }

// A word that reads differently by where it stands, told apart by the context.
inline QString textIn(std::string_view context, std::string_view english) {
    return QString::fromStdString(localizedIn(context, english));
}

inline QString textFormat(std::string_view englishTemplate, std::initializer_list<std::string_view> arguments) {
    return QString::fromStdString(localizedFormat(englishTemplate, arguments));
}

}  // namespace kestrix::views

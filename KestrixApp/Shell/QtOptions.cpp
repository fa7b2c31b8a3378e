#include "KestrixApp/Shell/QtOptions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrix::shell {
namespace {

// QGuiApplication's and QApplication's options, and those of the X11 platform.
constexpr std::array<std::string_view, 16> withValue{
    "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry", "title", "name",
    "visual"};
constexpr std::array<std::string_view, 6> alone{"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

}  // namespace

std::size_t qtOptionWords(const std::string& word) {
    // One dash or two, as the toolkit accepts both.
    std::string_view name = word;
    if (name.substr(0, 2) == "--") name.remove_prefix(2);
    else if (name.substr(0, 1) == "-") name.remove_prefix(1);
    else return 0;
    const auto equals = name.find('=');
    const bool valueAttached = equals != std::string_view::npos;
    name = name.substr(0, equals);
    if (std::find(withValue.begin(), withValue.end(), name) != withValue.end()) return valueAttached ? 1 : 2;
    if (!valueAttached && std::find(alone.begin(), alone.end(), name) != alone.end()) return 1;
    return 0;
}

}  // namespace kestrix::shell

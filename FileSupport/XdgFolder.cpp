#include "FileSupport/XdgFolder.h"

namespace filesupport {
namespace {

std::optional<std::string> absoluteFolder(std::optional<std::string> value) {
    if (!value || !value->starts_with('/')) return std::nullopt;
    while (value->size() > 1 && value->ends_with('/')) value->pop_back();
    return value;
}

}  // namespace

std::optional<std::string> xdgFolder(const std::optional<std::string>& xdgValue,
                                     const std::optional<std::string>& home, std::string_view homeSubfolder) {
    if (auto folder = absoluteFolder(xdgValue)) return folder;
    const auto homeFolder = absoluteFolder(home);
    if (!homeFolder) return std::nullopt;
    return (*homeFolder == "/" ? "" : *homeFolder) + "/" + std::string(homeSubfolder);
}

}  // namespace filesupport

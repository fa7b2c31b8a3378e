#include "KestrixKit/Linux/Apps/LaunchEnvironment.h"

#include <charconv>

#include "KestrixKit/Linux/Apps/KeyFile.h"

namespace kestrix {

std::optional<DesktopLaunch> parseDesktopLaunch(std::string_view environment) {
    constexpr std::string_view fileVariable = "GIO_LAUNCHED_DESKTOP_FILE=";
    constexpr std::string_view pidVariable = "GIO_LAUNCHED_DESKTOP_FILE_PID=";
    std::optional<std::string_view> file;
    std::optional<std::string_view> pidText;
    while (!environment.empty()) {
        const std::size_t end = environment.find('\0');
        const std::string_view setting = environment.substr(0, end);
        environment.remove_prefix(end == std::string_view::npos ? environment.size() : end + 1);
        if (setting.starts_with(fileVariable)) file = setting.substr(fileVariable.size());
        if (setting.starts_with(pidVariable)) pidText = setting.substr(pidVariable.size());
    }
    if (!file || !pidText || !file->starts_with('/')) return std::nullopt;
    std::int32_t pid = 0;
    const auto [stop, error] = std::from_chars(pidText->data(), pidText->data() + pidText->size(), pid);
    if (error != std::errc{} || stop != pidText->data() + pidText->size() || pid <= 0) return std::nullopt;
    return DesktopLaunch{.desktopFile = std::string(*file), .pid = pid};
}

std::optional<std::int32_t> launchedPID(std::string_view environment) {
    constexpr std::string_view pidVariable = "GIO_LAUNCHED_DESKTOP_FILE_PID=";
    std::optional<std::int32_t> found;
    while (!environment.empty()) {
        const std::size_t end = environment.find('\0');
        const std::string_view setting = environment.substr(0, end);
        environment.remove_prefix(end == std::string_view::npos ? environment.size() : end + 1);
        if (!setting.starts_with(pidVariable)) continue;
        const std::string_view text = setting.substr(pidVariable.size());
        std::int32_t pid = 0;
        const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
        found = error == std::errc{} && stop == text.data() + text.size() && pid > 0 ? std::optional(pid) : std::nullopt;
    }
    return found;
}

std::optional<std::string> flatpakAppID(std::string_view flatpakInfo) {
    const keyfile::Group application = keyfile::group(flatpakInfo, "Application");
    const auto name = application.find("name");
    if (name == application.end() || name->second.empty()) return std::nullopt;
    return keyfile::unescaped(name->second);
}

}  // namespace kestrix

#include "KestrixKit/Linux/Kernel/ServiceCgroup.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kestrix::servicecgroup {
namespace {

constexpr std::size_t shortIDLength = 12;

std::vector<std::string_view> components(std::string_view path) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string_view between(std::string_view part, std::string_view prefix, std::string_view suffix) {
    if (part.size() <= prefix.size() + suffix.size() || !part.starts_with(prefix) || !part.ends_with(suffix)) return {};
    return part.substr(prefix.size(), part.size() - prefix.size() - suffix.size());
}

}  // namespace

std::optional<std::string> systemService(std::string_view cgroupPath) {
    const std::vector<std::string_view> parts = components(cgroupPath);
    if (parts.size() < 2 || parts[0] != "system.slice" || !parts[1].ends_with(".service")) return std::nullopt;
    return std::string(parts[1]);
}

std::optional<std::string> container(std::string_view cgroupPath) {
    const std::vector<std::string_view> parts = components(cgroupPath);
    for (std::size_t index = parts.size(); index-- > 0;) {
        const std::string_view part = parts[index];
        for (const std::string_view engine : std::array<std::string_view, 3>{"docker-", "libpod-", "crio-"}) {
            const std::string_view id = between(part, engine, ".scope");
            if (!id.empty()) return std::string(id.substr(0, shortIDLength));
        }
        if (index > 0 && parts[index - 1] == "docker") return std::string(part.substr(0, shortIDLength));
        const std::string_view machine = between(part, "machine-", ".scope");
        if (!machine.empty()) return std::string(machine);
    }
    return std::nullopt;
}

}  // namespace kestrix::servicecgroup

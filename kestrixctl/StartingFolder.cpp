#include "kestrixctl/StartingFolder.h"

#include <unistd.h>

#include <filesystem>

namespace kestrixctl {
namespace {

void makeAbsolute(std::optional<std::string>& path) {
    if (!path || path->empty()) return;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(*path, error);
    if (!error) *path = absolute.string();
}

}  // namespace

void leaveStartingFolder(GlobalOptions& options) {
    makeAbsolute(options.worldPath);
    makeAbsolute(options.historyPath);
    // "/" is always there; were it not, staying put is the only choice left.
    [[maybe_unused]] const int ignored = ::chdir("/");
}

}  // namespace kestrixctl

#include "KestrixKit/Linux/Kernel/LoopBackings.h"
#include "KestrixKit/Linux/Files/FirstLine.h"

#include <algorithm>
#include <system_error>

namespace kestrix {

std::vector<LoopBacking> readLoopBackings(const std::filesystem::path& sysfsRoot) {
    std::vector<LoopBacking> loops;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(sysfsRoot / "block", error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (!name.starts_with("loop")) continue;
        if (std::optional<std::string> path = loopBackingFile(sysfsRoot, name)) {
            loops.push_back({.kernelName = std::move(name), .backingFile = std::move(*path)});
        }
    }
    std::sort(loops.begin(), loops.end(), [](const LoopBacking& a, const LoopBacking& b) {
        return a.kernelName < b.kernelName;
    });
    return loops;
}

std::optional<std::string> loopBackingFile(const std::filesystem::path& sysfsRoot, const std::string& kernelName) {
    // Only an attached loop device has the file.
    std::string path = readFirstLine(sysfsRoot / "block" / kernelName / "loop" / "backing_file");
    if (path.empty()) return std::nullopt;
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted)) path.resize(path.size() - deleted.size());
    return path;
}

}  // namespace kestrix

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
        const std::string name = entry->path().filename().string();
        if (!name.starts_with("loop")) continue;
        // Only an attached loop device has the file.
        std::string path = readFirstLine(entry->path() / "loop" / "backing_file");
        if (path.empty()) continue;
        constexpr std::string_view deleted = " (deleted)";
        if (path.ends_with(deleted)) path.resize(path.size() - deleted.size());
        loops.push_back({.kernelName = name, .backingFile = std::move(path)});
    }
    std::sort(loops.begin(), loops.end(), [](const LoopBacking& a, const LoopBacking& b) {
        return a.kernelName < b.kernelName;
    });
    return loops;
}

}  // namespace kestrix

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>

namespace filesupport {

struct FileReadError {
    enum class Reason { missing, notRegular, tooLarge, unreadable };
    Reason reason;
    // Names the file and what is wrong with it, such as "/dev/zero is not a regular file".
    std::string message;
};

// Whether a symbolic link in the last place of a path is followed; refused for files whose
// place another user controls.
enum class FinalLink { follow, refuse };

// The whole content of a regular file no larger than `largestSize`. A device, FIFO, socket or
// folder is refused without being read, and opening never waits on a FIFO.
std::variant<std::string, FileReadError> readRegularFile(const std::string& path, std::size_t largestSize,
                                                         FinalLink link = FinalLink::follow);

// Why the path may not be written as a file: it names something other than a regular file
// (following symbolic links). Nothing when it is a regular file or does not exist.
std::optional<std::string> notRegularFileProblem(const std::string& path);

}  // namespace filesupport

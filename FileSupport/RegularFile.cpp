#include "FileSupport/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "FileSupport/OwnedDescriptor.h"

namespace filesupport {
namespace {

FileReadError error(FileReadError::Reason reason, const std::string& message) { return {reason, message}; }

std::string notRegularMessage(const std::string& path) { return path + " is not a regular file"; }

}  // namespace

std::variant<std::string, FileReadError> readRegularFile(const std::string& path, std::size_t largestSize,
                                                         FinalLink link) {
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer. The type is checked on the
    // opened file, so that the path cannot be swapped between the check and the read.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (link == FinalLink::refuse ? O_NOFOLLOW : 0);
    const OwnedDescriptor file(::open(path.c_str(), flags));
    if (!file.valid()) {
        const int reason = errno;
        const bool missing = reason == ENOENT || reason == ENOTDIR;
        return error(missing ? FileReadError::Reason::missing : FileReadError::Reason::unreadable,
                     "cannot read " + path + ": " + std::strerror(reason));
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        return error(FileReadError::Reason::unreadable, "cannot read " + path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) return error(FileReadError::Reason::notRegular, notRegularMessage(path));
    const auto tooLarge = [&] {
        return error(FileReadError::Reason::tooLarge,
                     path + " is larger than " + std::to_string(largestSize / (1024 * 1024)) + " MB");
    };
    if (static_cast<std::uintmax_t>(status.st_size) > largestSize) return tooLarge();

    // The file may grow while it is read, so the limit holds for what is read, too.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return error(FileReadError::Reason::unreadable, "cannot read " + path + ": " + std::strerror(errno));
        if (count == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
        if (bytes.size() > largestSize) return tooLarge();
    }
}

std::optional<std::string> notRegularFileProblem(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return std::nullopt;
    return notRegularMessage(path);
}

}  // namespace filesupport

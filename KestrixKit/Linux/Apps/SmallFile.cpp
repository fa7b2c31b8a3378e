#include "KestrixKit/Linux/Apps/SmallFile.h"

#include <array>

#include <fcntl.h>
#include <sys/stat.h>

#include "FileSupport/OwnedDescriptor.h"

namespace kestrix {

std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxBytes, FinalLink link) {
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (link == FinalLink::refuse ? O_NOFOLLOW : 0);
    const filesupport::OwnedDescriptor file(open(path.c_str(), flags));
    struct stat status {};
    if (!file.valid() || fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    std::string text;
    std::array<char, 8192> buffer{};
    for (;;) {
        const ssize_t count = read(file.get(), buffer.data(), buffer.size());
        if (count < 0) return std::nullopt;
        if (count == 0) return text;
        text.append(buffer.data(), static_cast<std::size_t>(count));
        if (text.size() > maxBytes) return std::nullopt;
    }
}

}  // namespace kestrix

#include "MoreAppsKit/Linux/LocalFileStore.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <vector>

#include "FileSupport/AtomicFile.h"
#include "FileSupport/OwnedDescriptor.h"

namespace moreapps {

std::optional<std::string> LocalFileStore::read(const std::filesystem::path& file, std::size_t maxBytes) const {
    const filesupport::OwnedDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return std::nullopt;
    std::string data;
    std::vector<char> buffer(65536);
    while (data.size() < maxBytes) {
        const std::size_t wanted = std::min(buffer.size(), maxBytes - data.size());
        const ssize_t got = ::read(fd.get(), buffer.data(), wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        data.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return data;
}

bool LocalFileStore::writeAtomically(const std::filesystem::path& file, std::string_view data) {
    return !filesupport::writeFileAtomically(file.string(), data);
}

}  // namespace moreapps

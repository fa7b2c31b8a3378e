#include "FileSupport/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace filesupport {
namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Gives up a temporary file whose writing failed, keeping the reason.
std::string abandon(int descriptor, const std::string& temporary) {
    const int error = errno;
    if (descriptor >= 0) ::close(descriptor);
    ::unlink(temporary.c_str());
    return failure("cannot write", temporary, error);
}

// Makes the rename itself survive a power loss; a failure here loses nothing already written.
void syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes,
                                               const ReplaceFile& replace) {
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code folderError;
    fs::create_directories(folder, folderError);
    if (folderError) return "cannot create the folder " + folder.string() + ": " + folderError.message();

    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) return failure("cannot create a temporary file in", folder.string(), errno);

    if (!writeAll(descriptor, bytes) || ::fsync(descriptor) != 0) return abandon(descriptor, temporary);
    if (::close(descriptor) != 0) return abandon(-1, temporary);

    const int replaced = replace ? replace(temporary.c_str(), path.c_str()) : std::rename(temporary.c_str(), path.c_str());
    if (replaced != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure("cannot replace", path, error);
    }
    syncFolder(folder);
    return std::nullopt;
}

}  // namespace filesupport

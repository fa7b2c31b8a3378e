#include "FileSupport/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "FileSupport/RegularFile.h"

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

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

// The temporary file's name: the target's, hidden, with six random letters or digits added.
constexpr std::string_view temporarySuffix = "XXXXXX";

std::string temporaryPrefix(const fs::path& target) {
    std::string prefix = ".";
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

bool isTemporaryOf(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + temporarySuffix.size() || !name.starts_with(prefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](unsigned char character) { return std::isalnum(character) != 0; });
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes,
                                               const ReplaceFile& replace) {
    const fs::path target(path);
    const fs::path folder = folderOf(target);
    if (const auto problem = notRegularFileProblem(path)) return "cannot replace " + *problem;
    std::error_code folderError;
    fs::create_directories(folder, folderError);
    if (folderError) return "cannot create the folder " + folder.string() + ": " + folderError.message();

    std::string temporary = (folder / (temporaryPrefix(target) + std::string(temporarySuffix))).string();
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

void removeLeftoverTemporaries(const std::string& path) {
    const fs::path target(path);
    const std::string prefix = temporaryPrefix(target);
    std::error_code error;
    for (fs::directory_iterator entry(folderOf(target), error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        std::error_code ignored;
        if (isTemporaryOf(entry->path().filename().string(), prefix) && entry->is_regular_file(ignored)) {
            fs::remove(entry->path(), ignored);
        }
    }
}

}  // namespace filesupport

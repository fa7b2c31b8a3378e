#include "MoreAppsKit/Linux/LocalFileStore.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <system_error>
#include <vector>

namespace moreapps {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<std::string> LocalFileStore::read(const std::filesystem::path& file, std::size_t maxBytes) const {
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return false;
    std::string temporary = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) return false;
    const bool written = writeAll(fd.get(), data) && ::fsync(fd.get()) == 0 && fd.close() &&
                         ::rename(temporary.c_str(), file.c_str()) == 0;
    if (!written) ::unlink(temporary.c_str());
    return written;
}

}  // namespace moreapps

#include "KestrixKit/Linux/Files/HistoryFile.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "KestrixKit/History/HistoryCoding.h"
#include "FileSupport/OwnedDescriptor.h"
#include "FileSupport/RegularFile.h"

namespace kestrix {
namespace {

// Far beyond any real history (500 events take a few hundred kilobytes); a larger file is
// not read into memory.
constexpr std::size_t largestReadableFile = 64 * 1024 * 1024;

// Moves the unreadable file aside and says so.
std::string keepUnreadable(const std::string& path, const std::string& reason) {
    const std::string copy = path + ".unreadable";
    const std::string unread = "the eject history " + path + " could not be read (" + reason + ")";
    if (const auto problem = filesupport::notRegularFileProblem(copy)) return unread + "; it was left in place: " + *problem;
    if (std::rename(path.c_str(), copy.c_str()) != 0) {
        return unread + "; it could not be kept aside: " + std::strerror(errno);
    }
    return unread + "; it was kept as " + copy + " and a new history begins";
}

// Holds an exclusive lock on the lock file for as long as it lives. Where the lock file cannot
// be made (a read-only folder) nothing is locked: nothing can be saved there either.
class HistoryLock {
public:
    HistoryLock(const std::string& historyPath, std::optional<std::chrono::milliseconds> wait)
        : file_(openLockFile(historyPath + ".lock")) {
        if (!file_.valid()) return;
        if (!wait) {
            while (::flock(file_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
            return;
        }
        // Polled, so that the wait has an end; a save holds the lock for milliseconds.
        const auto deadline = std::chrono::steady_clock::now() + *wait;
        while (::flock(file_.get(), LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
                held_ = false;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Whether the lock is held (or there is no lock file to take, where nothing can be saved either).
    bool held() const { return held_; }

private:
    static int openLockFile(const std::string& path) {
        // O_NOFOLLOW: a link planted in a shared folder never makes this create a file elsewhere.
        const int flags = O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
        const int descriptor = ::open(path.c_str(), flags, 0600);
        if (descriptor >= 0 || errno != ENOENT) return descriptor;
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
        return ::open(path.c_str(), flags, 0600);
    }

    filesupport::OwnedDescriptor file_;
    bool held_ = true;
};

}  // namespace

LoadedHistory loadHistory(const std::string& path) {
    auto contents = filesupport::readRegularFile(path, largestReadableFile);
    if (const auto* error = std::get_if<filesupport::FileReadError>(&contents)) {
        switch (error->reason) {
            case filesupport::FileReadError::Reason::missing: return {};
            case filesupport::FileReadError::Reason::notRegular: return {.notice = error->message};
            case filesupport::FileReadError::Reason::tooLarge:
            case filesupport::FileReadError::Reason::unreadable: return {.notice = keepUnreadable(path, error->message)};
        }
    }
    std::optional<History> history = decodeHistory(std::get<std::string>(contents));
    if (!history) return {.notice = keepUnreadable(path, "not a history file of this version")};
    return {.history = std::move(*history)};
}

std::optional<std::string> saveHistory(const History& history, const std::string& path, const filesupport::ReplaceFile& replace) {
    return filesupport::writeFileAtomically(path, encodeHistory(history), replace);
}

HistoryUpdate updateHistory(const std::string& path, const std::function<bool(History&)>& change,
                            std::optional<std::chrono::milliseconds> lockWait) {
    const HistoryLock lock(path, lockWait);
    if (!lock.held()) return HistoryUpdate{.locked = false};
    HistoryUpdate update{.loaded = loadHistory(path)};
    if (!change(update.loaded.history)) return update;
    filesupport::removeLeftoverTemporaries(path);
    update.saveFailure = saveHistory(update.loaded.history, path);
    return update;
}

}  // namespace kestrix

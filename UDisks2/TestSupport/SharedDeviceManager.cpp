#include "UDisks2/TestSupport/SharedDeviceManager.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "KestrixKit/Tests/Support/ShellCommands.h"
#include "UDisks2/TestSupport/Eventually.h"

namespace fs = std::filesystem;

namespace kestrix::test {
namespace {

const fs::path deviceDatabase = "/run/udev";
const char* const deviceManagerProgram = "/lib/systemd/systemd-udevd";
// Held shared by every test process that uses the device manager, for as long as it does.
const char* const usersLockPath = "/run/kestrix-test-udevd.users";
// Held while one test process decides whether to start or stop it.
const char* const decisionLockPath = "/run/kestrix-test-udevd.lock";
// Written by the test process that started it: its pid, and whether it made the database.
const char* const startedByTestsPath = "/run/kestrix-test-udevd.started";

std::optional<pid_t> runningDeviceManager() {
    std::error_code error;
    for (const fs::directory_entry& process : fs::directory_iterator("/proc", error)) {
        std::string name;
        std::getline(std::ifstream(process.path() / "comm"), name);
        if (name == "systemd-udevd" || name == "udevd") {
            try {
                return static_cast<pid_t>(std::stol(process.path().filename().string()));
            } catch (...) {
            }
        }
    }
    return std::nullopt;
}

// An open descriptor holding a lock of the given kind on the file, or -1.
int lockedFile(const char* path, int operation) {
    const int descriptor = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) return -1;
    if (flock(descriptor, operation) != 0) {
        close(descriptor);
        return -1;
    }
    return descriptor;
}

// Stops the device manager the tests started, when it is still that process, and removes the
// database it made: left behind, its records would describe devices that no longer exist.
void stopDeviceManagerStartedByTests() {
    pid_t pid = 0;
    bool madeDatabase = false;
    {
        std::ifstream started(startedByTestsPath);
        if (!(started >> pid >> madeDatabase)) return;
    }
    if (pid > 0 && runningDeviceManager() == pid) {
        kill(pid, SIGTERM);
        eventually([pid] { return kill(pid, 0) != 0; });
    }
    std::error_code error;
    if (madeDatabase) fs::remove_all(deviceDatabase, error);
    fs::remove(startedByTestsPath, error);
}

}  // namespace

SharedDeviceManager::SharedDeviceManager() {
    const int decision = lockedFile(decisionLockPath, LOCK_EX);
    userLock_ = lockedFile(usersLockPath, LOCK_SH);
    if (!runningDeviceManager()) {
        if (!fs::exists(deviceManagerProgram)) {
            skipReason_ = "no udev daemon runs and none is installed";
        } else {
            const bool madeDatabase = !fs::exists(deviceDatabase);
            // It daemonises itself, so that it outlives the test process that started it.
            runQuietly(std::string(deviceManagerProgram) + " --daemon");
            const std::optional<pid_t> started = runningDeviceManager();
            if (started) std::ofstream(startedByTestsPath) << *started << ' ' << madeDatabase << '\n';
            // New block devices are missed until it listens.
            if (!started || !eventually([] { return fs::exists(deviceDatabase / "control"); })) {
                skipReason_ = "systemd-udevd did not start";
            }
        }
    }
    if (decision >= 0) close(decision);
}

SharedDeviceManager::~SharedDeviceManager() {
    const int decision = lockedFile(decisionLockPath, LOCK_EX);
    if (userLock_ >= 0) close(userLock_);
    // Only the last user gets the lock alone.
    const int alone = lockedFile(usersLockPath, LOCK_EX | LOCK_NB);
    if (alone >= 0) {
        stopDeviceManagerStartedByTests();
        close(alone);
    }
    if (decision >= 0) close(decision);
}

}  // namespace kestrix::test

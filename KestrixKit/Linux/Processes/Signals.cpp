#include "KestrixKit/Linux/Processes/Signals.h"

#include <cerrno>
#include <csignal>
#include <string>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"
#include "KestrixKit/Linux/Processes/ProcfsParsing.h"

namespace kestrix::Signals {
namespace {

std::optional<procfs::StatFields> stat(pid_t pid) {
    const std::optional<std::string> text = procfs::readText(AT_FDCWD, ("/proc/" + std::to_string(pid) + "/stat").c_str());
    return text ? procfs::parseStat(*text) : std::nullopt;
}

bool sendThrough(int processDescriptor, int signal) {
#ifdef SYS_pidfd_send_signal
    return syscall(SYS_pidfd_send_signal, processDescriptor, signal, nullptr, 0) == 0;
#else
    (void)processDescriptor;
    (void)signal;
    return false;
#endif
}

bool isSame(const procfs::StatFields& fields, const ProcessIdentity& process) {
    return fields.state != 'Z' && fields.state != 'X' && fields.startTime == process.startTime;
}

// The descriptor is taken first and the identity checked after: a process that still has the
// scan's start time then was alive when the descriptor was taken, so the descriptor is its own,
// and a signal sent through it can reach no other process, whatever happens to the pid meanwhile.
bool send(const ProcessIdentity& process, int signal) {
    if (process.pid < 2 || process.pid == getpid() || !process.startTime) return false;
    const filesupport::OwnedDescriptor descriptor(openDescriptor(process.pid));
    if (!descriptor.valid() && errno != ENOSYS) return false;  // gone, or not ours to see
    const std::optional<procfs::StatFields> fields = stat(process.pid);
    if (!fields || !isSame(*fields, process)) return false;
    if (descriptor.valid()) return sendThrough(descriptor.get(), signal);
    return kill(process.pid, signal) == 0;  // an old kernel: checked just before
}

}  // namespace

int openDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

std::optional<std::uint64_t> startTime(pid_t pid) {
    if (pid < 1) return std::nullopt;
    const std::optional<procfs::StatFields> fields = stat(pid);
    if (!fields || fields->state == 'Z' || fields->state == 'X') return std::nullopt;
    return fields->startTime;
}

bool terminate(const ProcessIdentity& process) { return send(process, SIGTERM); }

bool end(const ProcessIdentity& process, EndSignal signal) {
    return send(process, signal == EndSignal::hangUp ? SIGHUP : SIGTERM);
}

bool isRunning(const ProcessIdentity& process) {
    if (process.pid < 1) return false;
    const std::optional<procfs::StatFields> fields = stat(process.pid);
    if (fields) return isSame(*fields, process);
    // A /proc hidden from this user (hidepid): the pid alone, when there is no start time to compare.
    return !process.startTime && (kill(process.pid, 0) == 0 || errno == EPERM);
}

}  // namespace kestrix::Signals

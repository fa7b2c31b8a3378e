#include "KestrixKit/Linux/DeviceEjection.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/fs.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kestrix::DeviceEjection {
namespace {

class OpenDevice {
public:
    OpenDevice(const std::filesystem::path& path, int flags) : fd_(::open(path.c_str(), flags | O_CLOEXEC)) {}
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;
    ~OpenDevice() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }

private:
    int fd_;
};

int errorOf(int result) { return result < 0 ? errno : 0; }

}  // namespace

int detachLoop(const std::filesystem::path& deviceNode) {
    const OpenDevice device(deviceNode, O_RDONLY);
    if (device.fd() < 0) return errno;
    const int error = errorOf(ioctl(device.fd(), LOOP_CLR_FD, 0));
    return error == ENXIO ? 0 : error;
}

int ejectMedia(const std::filesystem::path& deviceNode) {
    // Non-blocking, so that a drive without a disc still opens.
    const OpenDevice device(deviceNode, O_RDONLY | O_NONBLOCK);
    if (device.fd() < 0) return errno;
    return errorOf(ioctl(device.fd(), CDROMEJECT, 0));
}

int powerOff(const std::filesystem::path& deviceNode, const std::filesystem::path& deleteAttribute) {
    {
        // An exclusive open fails with EBUSY while anything still claims the disk.
        const OpenDevice device(deviceNode, O_RDONLY | O_EXCL);
        if (device.fd() < 0) return errno;
        if (fsync(device.fd()) != 0) return errno;
        if (ioctl(device.fd(), BLKFLSBUF, 0) != 0) return errno;
    }
    const OpenDevice attribute(deleteAttribute, O_WRONLY);
    if (attribute.fd() < 0) return errno;
    if (::write(attribute.fd(), "1", 1) != 1) return errno;
    return 0;
}

}  // namespace kestrix::DeviceEjection

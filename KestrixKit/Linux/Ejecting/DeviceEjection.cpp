#include "KestrixKit/Linux/Ejecting/DeviceEjection.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <linux/fs.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/swap.h>
#include <unistd.h>

#include "FileSupport/OwnedDescriptor.h"

namespace kestrix::DeviceEjection {
namespace {

filesupport::OwnedDescriptor openDevice(const std::filesystem::path& path, int flags) {
    return filesupport::OwnedDescriptor(::open(path.c_str(), flags | O_CLOEXEC));
}

int errorOf(int result) { return result < 0 ? errno : 0; }

}  // namespace

int detachLoop(const std::filesystem::path& deviceNode) {
    const filesupport::OwnedDescriptor device = openDevice(deviceNode, O_RDONLY);
    if (device.get() < 0) return errno;
    const int error = errorOf(ioctl(device.get(), LOOP_CLR_FD, 0));
    return error == ENXIO ? 0 : error;
}

int detachLoopWhenReleased(const std::filesystem::path& deviceNode) {
    const filesupport::OwnedDescriptor device = openDevice(deviceNode, O_RDONLY);
    if (device.get() < 0) return errno;
    loop_info64 status{};
    if (ioctl(device.get(), LOOP_GET_STATUS64, &status) != 0) return errno;
    if ((status.lo_flags & LO_FLAGS_AUTOCLEAR) != 0) return 0;
    // Everything else goes back as it was read; the kernel only takes the settable flags.
    status.lo_flags |= LO_FLAGS_AUTOCLEAR;
    return errorOf(ioctl(device.get(), LOOP_SET_STATUS64, &status));
}

int stopSwap(const std::filesystem::path& deviceNode) { return errorOf(swapoff(deviceNode.c_str())); }

int ejectMedia(const std::filesystem::path& deviceNode) {
    // Non-blocking, so that a drive without a disc still opens.
    const filesupport::OwnedDescriptor device = openDevice(deviceNode, O_RDONLY | O_NONBLOCK);
    if (device.get() < 0) return errno;
    return errorOf(ioctl(device.get(), CDROMEJECT, 0));
}

int powerOff(const std::filesystem::path& deviceNode, const std::filesystem::path& deleteAttribute) {
    {
        // An exclusive open fails with EBUSY while anything still claims the disk.
        const filesupport::OwnedDescriptor device = openDevice(deviceNode, O_RDONLY | O_EXCL);
        if (device.get() < 0) return errno;
        if (fsync(device.get()) != 0) return errno;
        if (ioctl(device.get(), BLKFLSBUF, 0) != 0) return errno;
    }
    const filesupport::OwnedDescriptor attribute = openDevice(deleteAttribute, O_WRONLY);
    if (attribute.get() < 0) return errno;
    if (::write(attribute.get(), "1", 1) != 1) return errno;
    return 0;
}

}  // namespace kestrix::DeviceEjection

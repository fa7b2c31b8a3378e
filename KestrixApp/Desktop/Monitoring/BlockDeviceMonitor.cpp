#include "KestrixApp/Desktop/Monitoring/BlockDeviceMonitor.h"

#include <libudev.h>

#include <QSocketNotifier>
#include <cstring>

namespace kestrix::desktop {

BlockDeviceMonitor::BlockDeviceMonitor(QObject* parent) : QObject(parent) {
    udev_ = udev_new();
    if (udev_ == nullptr) return;
    // "udev" events come after the daemon has read the device (and its label), unlike the
    // kernel's own, which would be read too early.
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr) return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "block", nullptr) < 0) return;
    if (udev_monitor_enable_receiving(monitor_) < 0) return;
    const int descriptor = udev_monitor_get_fd(monitor_);
    if (descriptor < 0) return;
    notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &BlockDeviceMonitor::receive);
}

BlockDeviceMonitor::~BlockDeviceMonitor() {
    delete notifier_;
    if (monitor_ != nullptr) udev_monitor_unref(monitor_);
    if (udev_ != nullptr) udev_unref(udev_);
}

void BlockDeviceMonitor::receive() {
    bool changed = false;
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        // Mounts and unmounts are the mount monitor's; a change is a new label or new media.
        if (action != nullptr && std::strcmp(action, "change") == 0) changed = true;
        udev_device_unref(device);
    }
    if (changed) emit blockDeviceChanged();
}

}  // namespace kestrix::desktop

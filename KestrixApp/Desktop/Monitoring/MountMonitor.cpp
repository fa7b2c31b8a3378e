#include "KestrixApp/Desktop/Monitoring/MountMonitor.h"

#include <libmount/libmount.h>

#include <QSocketNotifier>

namespace kestrix::desktop {

MountMonitor::MountMonitor(QObject* parent) : QObject(parent) {
    monitor_ = mnt_new_monitor();
    if (monitor_ == nullptr) return;
    if (mnt_monitor_enable_kernel(monitor_, 1) != 0) return;
    // utab may not exist yet; libmount then watches for it to appear.
    mnt_monitor_enable_userspace(monitor_, 1, nullptr);
    const int descriptor = mnt_monitor_get_fd(monitor_);
    if (descriptor < 0) return;
    notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &MountMonitor::drain);
}

MountMonitor::~MountMonitor() {
    delete notifier_;
    if (monitor_ != nullptr) mnt_unref_monitor(monitor_);
}

void MountMonitor::drain() {
    // Every pending change is consumed, so that one mount (which touches the kernel table and
    // utab) gives one signal and the descriptor does not stay readable.
    bool changed = false;
    const char* file = nullptr;
    int type = 0;
    while (mnt_monitor_next_change(monitor_, &file, &type) == 0) changed = true;
    if (changed) emit mountsChanged();
}

}  // namespace kestrix::desktop

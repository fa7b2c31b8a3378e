#pragma once

#include <QObject>

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace kestrix::desktop {

// Tells when udev has finished handling a block device: a file-system label written anew (the
// rename of a volume) arrives as a "change" event. Needs a running udev daemon; without one
// nothing arrives, and labels change on the next listing.
class BlockDeviceMonitor : public QObject {
    Q_OBJECT
public:
    explicit BlockDeviceMonitor(QObject* parent = nullptr);
    ~BlockDeviceMonitor() override;

    bool isWatching() const { return notifier_ != nullptr; }

signals:
    void blockDeviceChanged();

private:
    void receive();

    struct udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrix::desktop

#pragma once

#include <QObject>

struct libmnt_monitor;
class QSocketNotifier;

namespace kestrix::desktop {

// Tells when something is mounted or unmounted: the kernel's mount table and libmount's
// userspace table (utab, where mount helpers record their own options) both count. No polling:
// libmount hands out one descriptor that becomes readable on a change.
class MountMonitor : public QObject {
    Q_OBJECT
public:
    explicit MountMonitor(QObject* parent = nullptr);
    ~MountMonitor() override;

    // False when libmount could not watch the tables; the list then changes only on request.
    bool isWatching() const { return notifier_ != nullptr; }

signals:
    // Once per batch of changes that arrived together.
    void mountsChanged();

private:
    void drain();

    libmnt_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kestrix::desktop

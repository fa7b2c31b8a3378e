#include "KestrixKit/Holders/KernelHolderText.h"

#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/PlainText.h"

namespace kestrix::KernelHolderText {
namespace {

std::string fileName(const KernelHolder& holder) { return text::lastPathComponent(holder.name); }

std::string namespaceAdvice(const KernelHolder& holder) {
    if (holder.container) return localizedFormat("Stop the container %1.", {*holder.container});
    if (holder.unit) {
        return localizedFormat("Restart %1 (systemctl restart %1, as an administrator).", {*holder.unit});
    }
    return localizedFormat("Quit %1.", {holder.name});
}

std::string stackedAdvice(const KernelHolder& holder) {
    if (holder.device.starts_with("/dev/dm-")) {
        return localizedFormat("Remove %1 first (dmsetup remove %1, as an administrator).", {holder.name});
    }
    if (holder.device.starts_with("/dev/md")) {
        return localizedFormat("Stop %1 first (mdadm --stop %2, as an administrator).", {holder.name, holder.device});
    }
    return localizedFormat("Stop %1 first.", {holder.name});
}

}  // namespace

std::string label(KernelHoldKind kind) {
    switch (kind) {
    case KernelHoldKind::diskImage: return localized("Disk image");
    case KernelHoldKind::swapArea: return localized("Swap");
    case KernelHoldKind::innerMount: return localized("Drive mounted inside");
    case KernelHoldKind::mountNamespace: return localized("Another mount namespace");
    case KernelHoldKind::stackedDevice: return localized("Stacked device");
    }
    return {};
}

std::string description(const KernelHolder& holder) {
    switch (holder.kind) {
    case KernelHoldKind::diskImage:
        if (holder.mountPath) {
            return localizedFormat("The disk image %1 on this drive is attached as %2 and mounted at %3.",
                                   {holder.name, holder.device, *holder.mountPath});
        }
        return localizedFormat("The disk image %1 on this drive is attached as %2.", {holder.name, holder.device});
    case KernelHoldKind::swapArea:
        return localizedFormat("The system is using %1 on this drive for swap.", {holder.name});
    case KernelHoldKind::innerMount:
        return localizedFormat("%1 is mounted inside this drive, at %2.", {holder.name, holder.mountPath.value_or("")});
    case KernelHoldKind::mountNamespace:
        return localizedFormat("%1 keeps this drive mounted in a mount namespace of its own, without any file open.",
                               {holder.name});
    case KernelHoldKind::stackedDevice:
        return localizedFormat("%1 (%2) is set up on this drive.", {holder.name, holder.device});
    }
    return {};
}

std::string advice(const KernelHolder& holder) {
    switch (holder.kind) {
    case KernelHoldKind::diskImage:
        if (holder.mountPath) return localizedFormat("Eject %1 first.", {fileName(holder)});
        return localizedFormat("Detach %1 first (udisksctl loop-delete -b %2).", {fileName(holder), holder.device});
    case KernelHoldKind::swapArea:
        return localizedFormat("Stop swap on it first (swapoff %1, as an administrator).", {holder.name});
    case KernelHoldKind::innerMount: return localizedFormat("Eject %1 first.", {holder.name});
    case KernelHoldKind::mountNamespace: return namespaceAdvice(holder);
    case KernelHoldKind::stackedDevice: return stackedAdvice(holder);
    }
    return {};
}

std::string listedName(const KernelHolder& holder) {
    switch (holder.kind) {
    case KernelHoldKind::diskImage: return localizedFormat("the disk image %1", {fileName(holder)});
    case KernelHoldKind::swapArea: return localizedFormat("swap on %1", {fileName(holder)});
    case KernelHoldKind::innerMount:
    case KernelHoldKind::mountNamespace:
    case KernelHoldKind::stackedDevice: return holder.name;
    }
    return {};
}

std::string remedyTitle(const KernelHolder& holder, KernelRemedy remedy) {
    switch (remedy) {
    case KernelRemedy::ejectImage: return localizedFormat("Eject %1 First", {fileName(holder)});
    case KernelRemedy::detachImage: return localizedFormat("Detach %1", {fileName(holder)});
    case KernelRemedy::stopSwap: return localizedFormat("Stop Swap on %1", {fileName(holder)});
    }
    return {};
}

std::string remedyRefused(const KernelHolder& holder, KernelRemedy remedy, const std::optional<std::string>& message) {
    const bool told = message && !message->empty();
    switch (remedy) {
    case KernelRemedy::ejectImage:
    case KernelRemedy::detachImage:
        if (told) return localizedFormat("Couldn’t detach %1 (%2).", {fileName(holder), *message});
        return localizedFormat("Couldn’t detach %1.", {fileName(holder)});
    case KernelRemedy::stopSwap:
        if (told) return localizedFormat("Couldn’t stop swap on %1 (%2).", {fileName(holder), *message});
        return localizedFormat("Couldn’t stop swap on %1.", {fileName(holder)});
    }
    return {};
}

}  // namespace kestrix::KernelHolderText

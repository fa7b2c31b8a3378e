#include "KestrixKit/Ejection/UnixRefusal.h"

#include <cerrno>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::UnixRefusal {
namespace {

// The kernel's Unix-error encoding of the disk service.
std::int32_t unixStatus(int errorNumber) { return 0xC000 + errorNumber; }

}  // namespace

EjectOutcome unmount(int errorNumber, const std::string& volume, const std::string& systemText) {
    switch (errorNumber) {
    case EBUSY:
        return {EjectOutcome::Busy{.volume = volume, .pid = std::nullopt, .status = DAStatus::unixBusy}};
    case EPERM:
    case EACCES:
        // The kernel's "Operation not permitted" tells an ordinary user neither why nor what to do.
        return {EjectOutcome::Failed{.volume = volume,
                                     .status = DAStatus::notPermitted,
                                     .message = localized("only root can unmount it without the disk service (UDisks2)")}};
    case EINVAL:
    case ENOENT:
        // Not mounted any more, or the mount point is gone.
        return {EjectOutcome::Failed{.volume = volume, .status = DAStatus::notFound, .message = std::nullopt}};
    default:
        return {EjectOutcome::Failed{.volume = volume, .status = unixStatus(errorNumber), .message = systemText}};
    }
}

EjectOutcome eject(int errorNumber, const std::string& driveName) {
    if (errorNumber == EBUSY) {
        return {EjectOutcome::Busy{.volume = driveName, .pid = std::nullopt, .status = DAStatus::unixBusy}};
    }
    return {EjectOutcome::UnmountedOnly{}};
}

}  // namespace kestrix::UnixRefusal

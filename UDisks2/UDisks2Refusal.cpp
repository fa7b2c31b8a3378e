#include "UDisks2/UDisks2Refusal.h"

#include <array>
#include <string_view>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::UDisks2Refusal {
namespace {

constexpr std::string_view serviceErrors = "org.freedesktop.UDisks2.Error.";

bool isServiceError(const UDisks2Error& error, std::string_view name) {
    return error.name == std::string(serviceErrors).append(name);
}

bool isBusy(const UDisks2Error& error) { return isServiceError(error, "DeviceBusy"); }

// NotAuthorized, NotAuthorizedCanObtain (no agent could ask for a password) and
// NotAuthorizedDismissed (the user closed the password dialog); or the bus's policy forbids it.
bool isNotAuthorized(const UDisks2Error& error) {
    return error.name.starts_with(std::string(serviceErrors) + "NotAuthorized") ||
           error.name == "org.freedesktop.DBus.Error.AccessDenied";
}

// The object or its interface went away between reading the objects and calling them.
bool isGone(const UDisks2Error& error) {
    static constexpr std::array<std::string_view, 3> names{"org.freedesktop.DBus.Error.UnknownObject",
                                                           "org.freedesktop.DBus.Error.UnknownMethod",
                                                           "org.freedesktop.DBus.Error.UnknownInterface"};
    for (std::string_view name : names) {
        if (error.name == name) return true;
    }
    return false;
}

std::optional<std::string> text(const UDisks2Error& error) {
    if (error.message.empty()) return std::nullopt;
    return error.message;
}

// What the user reads for a refusal. polkit's refusals come with the text of its action ("Not
// authorized to perform operation"), which says neither why nor what to do.
std::optional<std::string> refusalText(const UDisks2Error& error) {
    if (isServiceError(error, "NotAuthorizedCanObtain")) {
        return localized("it needs a password, and no polkit agent is running to ask for it");
    }
    if (isServiceError(error, "NotAuthorizedDismissed")) return localized("the password dialog was closed");
    if (isNotAuthorized(error)) return localized("your account isn\u2019t allowed to do this");
    return text(error);
}

}  // namespace

std::optional<EjectOutcome> unmount(const UDisks2Error& error, const std::string& volume) {
    if (isServiceError(error, "NotMounted")) return std::nullopt;
    if (isBusy(error)) {
        return EjectOutcome{EjectOutcome::Busy{.volume = volume, .pid = std::nullopt, .status = DAStatus::busy}};
    }
    if (isNotAuthorized(error)) {
        return EjectOutcome{
            EjectOutcome::Failed{.volume = volume, .status = DAStatus::notPrivileged, .message = refusalText(error)}};
    }
    if (isGone(error)) {
        return EjectOutcome{EjectOutcome::Failed{.volume = volume, .status = DAStatus::notFound, .message = std::nullopt}};
    }
    return EjectOutcome{EjectOutcome::Failed{.volume = volume, .status = DAStatus::error, .message = text(error)}};
}

EjectOutcome eject(const UDisks2Error& error, const std::string& driveName) {
    if (isBusy(error)) return {EjectOutcome::Busy{.volume = driveName, .pid = std::nullopt, .status = DAStatus::busy}};
    if (isGone(error)) return {EjectOutcome::Ejected{}};
    return {EjectOutcome::UnmountedOnly{}};
}

EjectOutcome unreachable(const UDisks2Error& error) {
    const std::int32_t status = isNotAuthorized(error) ? DAStatus::notPrivileged : DAStatus::error;
    return {EjectOutcome::Failed{.volume = std::nullopt, .status = status, .message = refusalText(error)}};
}

}  // namespace kestrix::UDisks2Refusal

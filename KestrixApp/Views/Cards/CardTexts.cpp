#include "KestrixApp/Views/Cards/CardTexts.h"

#include <algorithm>
#include <cmath>

#include "KestrixKit/Backups/BackupTexts.h"
#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Holders/KernelHolderText.h"
#include "KestrixKit/Holders/KernelRemedy.h"
#include "KestrixKit/Text/ByteCountFormat.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Volumes/VolumeKindLabel.h"

namespace kestrix::views {
namespace {

constexpr std::size_t compactHolderLimit = 4;
constexpr std::size_t fullHolderLimit = 12;

struct ChipOf {
    ChipLook operator()(Busy busy) const { return {label(busy), "hourglass", Tint::blue}; }
    ChipLook operator()(const DriveDisplay::InUse&) const { return {localized("In use"), "lock.fill", Tint::orange}; }
    ChipLook operator()(const DriveDisplay::HeldByMacOS&) const {
        return {localized("macOS is using it"), "gearshape.fill", Tint::orange};
    }
    ChipLook operator()(const DriveDisplay::WaitingOnApps&) const {
        return {localized("Waiting on an app"), "hand.raised.fill", Tint::orange};
    }
    ChipLook operator()(const DriveDisplay::Backup&) const {
        return {localized("Backing up"), "clock.arrow.circlepath", Tint::purple};
    }
    ChipLook operator()(const DriveDisplay::Failed&) const { return {localized("Refused"), "xmark.octagon.fill", Tint::red}; }
    ChipLook operator()(const DriveDisplay::Detached&) const { return {localized("Detached"), "hourglass", Tint::orange}; }
    ChipLook operator()(const DriveDisplay::Ready&) const {
        return {localized("Ready"), "checkmark.circle.fill", Tint::green};
    }
};

// Each of the kernel's holders: what it is, then what to do about it.
std::vector<DetailLine> kernelHolderLines(const std::vector<KernelHolder>& holders) {
    std::vector<DetailLine> lines;
    for (const KernelHolder& holder : holders) {
        lines.push_back({KernelHolderText::description(holder)});
        lines.push_back({KernelHolderText::advice(holder), true});
    }
    return lines;
}

bool offers(const std::vector<HolderAction>& actions, HolderAction action) {
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}

}  // namespace

ChipLook chipLook(const DriveDisplay& display) { return std::visit(ChipOf{}, display.value); }

std::string_view driveSymbol(const Drive& drive) {
    switch (drive.kind()) {
        case VolumeKind::externalDrive: return "externaldrive.fill";
        case VolumeKind::memoryCard: return "sdcard.fill";
        case VolumeKind::diskImage: return "opticaldiscdrive.fill";
        case VolumeKind::networkShare: return "server.rack";
        case VolumeKind::optical: return "opticaldisc.fill";
    }
    return "externaldrive.fill";
}

std::string driveSubtitle(const Drive& drive) {
    const std::string sizes = localizedFormat("%1, %2 free", {formatByteCount(drive.totalBytes()),
                                                              formatByteCount(drive.freeBytes())});
    return label(drive.kind()) + " · " + sizes;
}

std::string cardAccessibleName(const Drive& drive, const DriveDisplay& display) {
    return drive.name() + ", " + chipLook(display).text;
}

std::vector<DetailLine> detailLines(const DriveDisplay& display) {
    if (const auto* held = display.as<DriveDisplay::HeldByMacOS>(); held && !held->holder) {
        return {{localized("A macOS service is still using this drive. Kestrix can’t look inside macOS’s own background "
                           "services (Spotlight, Time Machine and others run as the system), and macOS didn’t say "
                           "which one it is.")},
                {localized("They usually let go within a few seconds. Try again in a moment."), true}};
    }
    if (const auto* waiting = display.as<DriveDisplay::WaitingOnApps>()) {
        std::vector<DetailLine> lines;
        std::vector<Holder> apps = ReportText::stillOpenApps(waiting->holders);
        // Those the desktop gives no way to ask were neither asked nor brought forward.
        for (const Holder& app : apps) {
            if (!app.app->canBeAskedToQuit()) lines.push_back({HelperCatalog::cannotAskToQuit(app)});
        }
        std::erase_if(apps, [](const Holder& app) { return !app.app->canBeAskedToQuit(); });
        const bool shown = std::all_of(apps.begin(), apps.end(), [](const Holder& app) { return app.app->canBeShown(); });
        if (!apps.empty() && shown) {
            lines.push_back({localizedFormat("%1 didn’t quit yet. It’s probably asking whether to save: Kestrix brought "
                                             "it to the front. Answer it, then eject again.",
                                             {ReportText::holderNames(apps)})});
        } else if (!apps.empty()) {
            lines.push_back({localizedFormat("%1 didn’t quit yet. It’s probably asking whether to save. Answer it, then "
                                             "eject again.",
                                             {ReportText::holderNames(apps)})});
        }
        // A program that outlived its stop asks nothing: it is only still running.
        for (std::string& sentence : ReportText::stillRunningPrograms(waiting->holders)) lines.push_back({std::move(sentence)});
        return lines;
    }
    if (const auto* backup = display.as<DriveDisplay::Backup>()) {
        const auto& progress = backup->status.progress;
        return {{BackupTexts::backingUp(backup->status,
                                        progress ? std::optional<int>(percentDone(*progress)) : std::nullopt)},
                {BackupTexts::advice(backup->status), true}};
    }
    if (const auto* inUse = display.as<DriveDisplay::InUse>()) return kernelHolderLines(inUse->kernelHolders);
    if (const auto* detached = display.as<DriveDisplay::Detached>()) {
        std::vector<DetailLine> lines;
        if (!detached->holders.empty()) {
            lines.push_back({localizedFormat("It’s unmounted, but %1 still has files open on it. Don’t unplug it yet: "
                                             "Kestrix says when it’s safe.",
                                             {ReportText::holderNames(detached->holders)})});
        } else if (!detached->kernelHolders.empty()) {
            lines.push_back({localizedFormat("It’s unmounted, but %1 still uses it. Don’t unplug it yet: Kestrix says "
                                             "when it’s safe.",
                                             {ReportText::holderNames({}, detached->kernelHolders)})});
        } else {
            lines.push_back({localized("It’s unmounted, but the system still uses it. Don’t unplug it yet: Kestrix "
                                       "says when it’s safe.")});
        }
        const std::vector<DetailLine> kernel = kernelHolderLines(detached->kernelHolders);
        lines.insert(lines.end(), kernel.begin(), kernel.end());
        return lines;
    }
    if (const auto* failed = display.as<DriveDisplay::Failed>()) {
        const std::string reason = ReportText::failureReason(*failed);
        std::vector<DetailLine> lines{{localizedFormat("macOS refused to eject it (%1).", {reason})}};
        // On this system the reason may already be the system's own message.
        if (failed->message && !failed->message->empty() && *failed->message != reason) {
            lines.push_back({*failed->message, true, true});
        }
        return lines;
    }
    return {};
}

std::vector<Holder> listedHolders(const DriveDisplay& display) {
    if (const auto* inUse = display.as<DriveDisplay::InUse>()) return inUse->holders;
    if (const auto* held = display.as<DriveDisplay::HeldByMacOS>(); held && held->holder) return {*held->holder};
    if (const auto* detached = display.as<DriveDisplay::Detached>()) return detached->holders;
    return {};
}

std::vector<Holder> actionHolders(const DriveDisplay& display) {
    if (const auto* waiting = display.as<DriveDisplay::WaitingOnApps>()) return waiting->holders;
    return listedHolders(display);
}

std::vector<KernelHolder> remedyKernelHolders(const DriveDisplay& display) {
    std::vector<KernelHolder> held;
    if (const auto* inUse = display.as<DriveDisplay::InUse>()) held = inUse->kernelHolders;
    if (const auto* detached = display.as<DriveDisplay::Detached>()) held = detached->kernelHolders;
    std::erase_if(held, [](const KernelHolder& holder) { return !kernelRemedy(holder); });
    return held;
}

long percentDone(double progress) { return std::lround(progress * 100.0); }

bool offersQuitAndEject(const std::vector<Holder>& holders, std::uint32_t currentUID) {
    return std::any_of(holders.begin(), holders.end(), [&](const Holder& holder) {
        const auto actions = HolderPolicy::actions(holder, currentUID);
        return offers(actions, HolderAction::quitApp) || offers(actions, HolderAction::endProcess);
    });
}

std::size_t holderRowLimit(bool compact) { return compact ? compactHolderLimit : fullHolderLimit; }

std::string moreHoldersText(std::size_t hidden) { return localizedFormat("%1 more…", {std::to_string(hidden)}); }

std::string holderTitle(const Holder& holder) {
    switch (holder.kind) {
        case HelperKind::app:
        case HelperKind::cloudSync:
        case HelperKind::commandLine: return holder.name;
        default: return HelperCatalog::label(holder.kind);
    }
}

std::string holderAccessibleName(const Holder& holder) {
    std::string name = holderTitle(holder);
    if (name != holder.name) name += ", " + holder.name;
    if (holder.namedByMacOS) name += ", " + localized("named by macOS");
    if (holder.isWriting()) name += ", " + localized("Writing");
    return name;
}

std::string holderAccessibleDescription(const Holder& holder) {
    return HelperCatalog::description(holder) + " " + HelperCatalog::advice(holder);
}

bool showsFileButton(const Holder& holder, bool compact, std::uint32_t currentUID) {
    if (compact || !holder.mainPath()) return false;
    const auto actions = HolderPolicy::actions(holder, currentUID);
    return actions.empty() || actions.front() != HolderAction::endProcess;
}

}  // namespace kestrix::views

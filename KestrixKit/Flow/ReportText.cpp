#include "KestrixKit/Flow/ReportText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <variant>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Backups/BackupTexts.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/KernelHolderText.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace kestrix::ReportText {
namespace {

constexpr std::size_t namedHolderLimit = 3;

// "A", "A and B", "A, B and C".
std::string listed(const std::vector<std::string>& names) {
    if (names.size() < 2) return names.empty() ? std::string() : names.front();
    std::string result = localizedFormat("%1 and %2", {names[names.size() - 2], names.back()});
    for (std::size_t index = names.size() - 2; index-- > 0;) result = localizedFormat("%1, %2", {names[index], result});
    return result;
}

// Each name once, in the order the holders come.
std::vector<std::string> distinctNames(const std::vector<Holder>& holders) {
    std::vector<std::string> names;
    for (const Holder& holder : holders) {
        if (std::find(names.begin(), names.end(), holder.name) == names.end()) names.push_back(holder.name);
    }
    return names;
}

struct MessageOf {
    const std::string& drive;

    std::string operator()(const DriveVerdict::InUse& inUse) const {
        return localizedFormat("%1 is in use by %2.", {drive, holderNames(inUse.holders, inUse.kernelHolders)});
    }
    std::string operator()(const DriveVerdict::HeldByMacOS& held) const {
        if (held.holder) return localizedFormat("%1 is in use: macOS says %2 is using it.", {drive, held.holder->name});
        return localizedFormat("%1 is still in use by a macOS service. Try again in a moment.", {drive});
    }
    std::string operator()(const DriveVerdict::WaitingOnApps& waiting) const {
        const std::vector<Holder> apps = stillOpenApps(waiting.holders);
        std::string sentences;
        if (distinctNames(apps).size() > 1) {
            sentences = localizedFormat("%1 are still open on %2. They may be asking you to save.",
                                        {holderNames(apps), drive});
        } else if (!apps.empty()) {
            sentences = localizedFormat("%1 is still open on %2. It may be asking you to save.", {holderNames(apps), drive});
        }
        for (const std::string& sentence : stillRunningPrograms(waiting.holders)) {
            sentences += (sentences.empty() ? "" : " ") + sentence;
        }
        return sentences;
    }
    std::string operator()(const DriveVerdict::BackupRunning& backup) const {
        return BackupTexts::report(backup.status, drive);
    }
    std::string operator()(const DriveVerdict::Failed& failed) const {
        return localizedFormat("macOS couldn’t eject %1 (%2).", {drive, failureReason(failed)});
    }
    std::string operator()(const DriveVerdict::Ejected&) const {
        return localizedFormat("%1 ejected. It’s safe to unplug.", {drive});
    }
    std::string operator()(const DriveVerdict::UnmountedOnly&) const {
        return localizedFormat("%1 is unmounted and safe to unplug (macOS couldn’t power it off).", {drive});
    }
    std::string operator()(const DriveVerdict::Detached& detached) const {
        if (detached.holders.empty() && !detached.kernelHolders.empty()) {
            return localizedFormat("%1 is detached. It becomes safe to unplug when %2 lets go of it.",
                                   {drive, holderNames({}, detached.kernelHolders)});
        }
        if (detached.holders.empty()) {
            return localizedFormat("%1 is detached. It becomes safe to unplug when the system lets go of it.", {drive});
        }
        return localizedFormat("%1 is detached. It becomes safe to unplug when %2 closes its file.",
                               {drive, holderNames(detached.holders)});
    }
};

}  // namespace

std::string message(const DriveReport& report) {
    return std::visit(MessageOf{report.drive.name()}, report.verdict.value);
}

std::vector<Holder> stillOpenApps(const std::vector<Holder>& holders) {
    std::vector<Holder> apps;
    std::copy_if(holders.begin(), holders.end(), std::back_inserter(apps),
                 [](const Holder& holder) { return holder.app && holder.app->isRegular; });
    return apps;
}

std::vector<std::string> stillRunningPrograms(const std::vector<Holder>& holders) {
    std::vector<std::string> sentences;
    for (const Holder& holder : holders) {
        if (holder.app && holder.app->isRegular) continue;
        std::string sentence = HelperCatalog::stillRunning(holder);
        if (std::find(sentences.begin(), sentences.end(), sentence) == sentences.end()) sentences.push_back(std::move(sentence));
    }
    return sentences;
}

std::string holderNames(const std::vector<Holder>& holders) { return holderNames(holders, {}); }

std::string holderNames(const std::vector<Holder>& holders, const std::vector<KernelHolder>& kernelHolders) {
    std::vector<std::string> names = distinctNames(holders);
    for (const KernelHolder& holder : kernelHolders) {
        std::string name = KernelHolderText::listedName(holder);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    // " and others" only stands for names left out; repeats of a listed name are not others.
    const bool leftOut = names.size() > namedHolderLimit;
    if (leftOut) names.resize(namedHolderLimit);
    std::string result = listed(names);
    if (leftOut) result += localized(" and others");
    return result;
}

std::string failureReason(std::int32_t status) {
    if (status == DAStatus::notPrivileged || status == DAStatus::notPermitted) return localized("not allowed");
    if (status == DAStatus::notFound) return localized("the drive is gone");
    std::array<char, 16> code{};
    std::snprintf(code.data(), code.size(), "0x%08X", static_cast<unsigned>(static_cast<std::uint32_t>(status)));
    return code.data();
}

std::string failureReason(const DriveVerdict::Failed& failed) {
    // A Linux system's refusal comes with its own words ("Device or resource busy", a disk
    // service's message) where its status codes mean nothing to the user.
    const bool systemWords = selectedVocabulary() == Vocabulary::linuxSystem && failed.message &&
                             !failed.message->empty();
    return systemWords ? *failed.message : failureReason(failed.status);
}

std::string ejectAllSummary(const std::vector<DriveReport>& reports) {
    if (reports.empty()) return localized("No drives to eject.");
    const auto done = std::count_if(reports.begin(), reports.end(),
                                    [](const DriveReport& report) { return report.verdict.isDone(); });
    std::string summary =
        localizedFormat("Ejected: %1 of %2.", {std::to_string(done), std::to_string(reports.size())});
    for (const DriveReport& report : reports) {
        if (report.verdict.isDone()) continue;
        summary += ' ';
        summary += message(report);
    }
    return summary;
}

}  // namespace kestrix::ReportText

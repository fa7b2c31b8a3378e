#include "kestrixctl/HolderText.h"

#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderCoding.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Holders/KernelHolderCoding.h"
#include "KestrixKit/Holders/KernelHolderText.h"
#include "KestrixKit/Text/Localized.h"
#include "TextSupport/VisibleText.h"

namespace kestrixctl {
namespace {

using kestrix::HelperKind;
using kestrix::HolderAction;

// Apps, sync tools and command-line programs are known by name; the others by what they are.
std::string rowTitle(const kestrix::Holder& holder) {
    switch (holder.kind) {
        case HelperKind::app:
        case HelperKind::cloudSync:
        case HelperKind::commandLine: return holder.name;
        default: return kestrix::HelperCatalog::label(holder.kind);
    }
}

std::string actionWord(HolderAction action) {
    switch (action) {
        case HolderAction::quitApp: return kestrix::localized("Quit");
        case HolderAction::showApp: return kestrix::localized("Show");
        case HolderAction::endProcess: return kestrix::localized("End");
        case HolderAction::waitAndRetry: return kestrix::localized("Wait");
    }
    return {};
}

std::string titleLine(const kestrix::Holder& holder) {
    std::string line = rowTitle(holder);
    if (line != holder.name) line += " · " + holder.name;
    if (holder.namedByMacOS) line += " · " + kestrix::localized("named by macOS");
    if (holder.isWriting()) line += " · " + kestrix::localized("Writing");
    return line;
}

std::string actionsLine(const std::vector<HolderAction>& actions) {
    std::string words;
    for (const HolderAction action : actions) words += (words.empty() ? "" : ", ") + actionWord(action);
    return kestrix::localizedFormat("Actions: %1", {words});
}

}  // namespace

void writeHolderRow(std::ostream& out, const kestrix::Holder& holder, std::uint32_t currentUID) {
    // Names and paths come from other programs: their control characters are shown, not run.
    out << textsupport::visibleText(titleLine(holder)) << '\n';
    out << "  " << textsupport::visibleText(kestrix::HelperCatalog::description(holder)) << '\n';
    if (!holder.holds.empty()) out << "  " << textsupport::visibleText(kestrix::HelperCatalog::holdLine(holder.holds.front())) << '\n';
    out << "  " << kestrix::HelperCatalog::advice(holder) << '\n';
    out << "  " << actionsLine(kestrix::HolderPolicy::actions(holder, currentUID)) << '\n';
}

void writeKernelHolderRow(std::ostream& out, const kestrix::KernelHolder& holder) {
    out << textsupport::visibleText(kestrix::KernelHolderText::label(holder.kind) + " · " + holder.name) << '\n';
    out << "  " << textsupport::visibleText(kestrix::KernelHolderText::description(holder)) << '\n';
    out << "  " << textsupport::visibleText(kestrix::KernelHolderText::advice(holder)) << '\n';
}

nlohmann::json kernelHolderJSON(const kestrix::KernelHolder& holder) {
    nlohmann::json json = holder;
    json["label"] = kestrix::KernelHolderText::label(holder.kind);
    json["description"] = kestrix::KernelHolderText::description(holder);
    json["advice"] = kestrix::KernelHolderText::advice(holder);
    return json;
}

nlohmann::json holderJSON(const kestrix::Holder& holder, std::uint32_t currentUID) {
    nlohmann::json json = holder;
    json["label"] = kestrix::HelperCatalog::label(holder.kind);
    json["symbol"] = kestrix::HelperCatalog::symbol(holder.kind);
    json["description"] = kestrix::HelperCatalog::description(holder);
    json["advice"] = kestrix::HelperCatalog::advice(holder);
    nlohmann::json holdLines = nlohmann::json::array();
    for (const kestrix::Hold& hold : holder.holds) holdLines.push_back(kestrix::HelperCatalog::holdLine(hold));
    json["holdLines"] = std::move(holdLines);
    json["actions"] = kestrix::HolderPolicy::actions(holder, currentUID);
    return json;
}

nlohmann::json scanJSON(const kestrix::ScanResult& scan, std::uint32_t currentUID) {
    nlohmann::json json = scan;
    nlohmann::json holders = nlohmann::json::array();
    for (const kestrix::Holder& holder : scan.holders) holders.push_back(holderJSON(holder, currentUID));
    json["holders"] = std::move(holders);
    nlohmann::json kernelHolders = nlohmann::json::array();
    for (const kestrix::KernelHolder& holder : scan.kernelHolders) kernelHolders.push_back(kernelHolderJSON(holder));
    json["kernelHolders"] = std::move(kernelHolders);
    return json;
}

}  // namespace kestrixctl

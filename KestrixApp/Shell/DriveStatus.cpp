#include "KestrixApp/Shell/DriveStatus.h"

#include <nlohmann/json.hpp>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/Text/ValidUTF8.h"
#include "KestrixKit/Volumes/VolumeKind.h"

namespace kestrix::shell {

namespace {

constexpr const char* displayCases[] = {"busy", "inUse", "heldByMacOS", "waitingOnApps", "backup", "failed", "ready",
                                        "detached"};

}  // namespace

std::string driveStatusJson(const AppModel& model) {
    auto drives = nlohmann::json::array();
    for (const auto& drive : model.drives()) {
        const DriveDisplay shown = model.display(drive.id);
        nlohmann::json entry{{"name", text::validUTF8(drive.name())},
                             {"kind", std::string(rawValue(drive.kind()))},
                             {"display", displayCases[shown.value.index()]}};
        if (const auto* busy = shown.as<Busy>()) entry["busy"] = label(*busy);
        const auto state = model.state(drive.id);
        if (state.report && !state.report->verdict.isDone())
            entry["message"] = text::validUTF8(ReportText::message(*state.report));
        drives.push_back(std::move(entry));
    }
    return nlohmann::json{{"drives", std::move(drives)}, {"attentionCount", model.attentionCount()}}.dump();
}

}  // namespace kestrix::shell

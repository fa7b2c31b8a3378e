#include "KestrixKit/Flow/ReportCoding.h"

#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/Coding/IsoDate.h"
#include "KestrixKit/Holders/HolderCoding.h"
#include "KestrixKit/Holders/KernelHolderCoding.h"
#include "KestrixKit/TimeMachine/TimeMachineStatusCoding.h"
#include "KestrixKit/Volumes/VolumeCoding.h"

namespace kestrix {
namespace {

template <typename T>
nlohmann::json orNull(const std::optional<T>& value) {
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

struct PayloadOf {
    nlohmann::json& json;

    void operator()(const DriveVerdict::InUse& inUse) const {
        json["holders"] = inUse.holders;
        json["kernelHolders"] = inUse.kernelHolders;
        json["summary"] = inUse.summary;
    }
    void operator()(const DriveVerdict::HeldByMacOS& held) const {
        json["holder"] = orNull(held.holder);
        json["summary"] = held.summary;
    }
    void operator()(const DriveVerdict::WaitingOnApps& waiting) const { json["holders"] = waiting.holders; }
    void operator()(const DriveVerdict::BackupRunning& backup) const { json["status"] = backup.status; }
    void operator()(const DriveVerdict::Failed& failed) const {
        json["status"] = failed.status;
        json["message"] = orNull(failed.message);
    }
    void operator()(const DriveVerdict::Ejected&) const {}
    void operator()(const DriveVerdict::UnmountedOnly&) const {}
    void operator()(const DriveVerdict::Detached& detached) const {
        json["holders"] = detached.holders;
        json["kernelHolders"] = detached.kernelHolders;
    }
};

}  // namespace

void to_json(nlohmann::json& json, const ScanSummary& summary) {
    json = {{"checked", summary.checked}, {"hidden", summary.hidden}, {"deep", summary.deep}};
}

void to_json(nlohmann::json& json, const DriveVerdict& verdict) {
    json = {{"case", verdict.caseName()}};
    std::visit(PayloadOf{json}, verdict.value);
}

void to_json(nlohmann::json& json, const DriveReport& report) {
    json = {{"drive", report.drive},
            {"verdict", report.verdict},
            {"date", isoDateString(report.date)},
            {"forced", report.forced},
            {"message", ReportText::message(report)}};
}

}  // namespace kestrix

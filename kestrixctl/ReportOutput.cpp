#include "kestrixctl/ReportOutput.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "KestrixKit/Flow/ReportCoding.h"
#include "KestrixKit/Flow/ReportText.h"
#include "kestrixctl/HistoryRecording.h"

namespace kestrixctl {
namespace {

int exitStatusOf(const std::vector<kestrix::DriveReport>& reports) {
    const bool allDone = std::all_of(reports.begin(), reports.end(),
                                     [](const kestrix::DriveReport& report) { return report.verdict.isDone(); });
    return allDone ? exitSuccess : exitNotDone;
}

}  // namespace

int finishEject(const Invocation& invocation, const kestrix::DriveReport& report, bool json) {
    if (json) {
        invocation.out << nlohmann::json(report).dump(2) << '\n';
    } else {
        invocation.out << kestrix::ReportText::message(report) << '\n';
    }
    recordReports(invocation, {report});
    return exitStatusOf({report});
}

int finishEjectAll(const Invocation& invocation, const std::vector<kestrix::DriveReport>& reports, bool json) {
    const std::string summary = kestrix::ReportText::ejectAllSummary(reports);
    if (json) {
        invocation.out << nlohmann::json{{"reports", reports}, {"summary", summary}}.dump(2) << '\n';
    } else {
        invocation.out << summary << '\n';
    }
    recordReports(invocation, reports);
    return exitStatusOf(reports);
}

}  // namespace kestrixctl

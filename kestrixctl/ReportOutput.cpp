#include "kestrixctl/ReportOutput.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "KestrixKit/Coding/JSONText.h"
#include "KestrixKit/Flow/ReportCoding.h"
#include "KestrixKit/Flow/ReportText.h"
#include "TextSupport/VisibleText.h"
#include "kestrixctl/HistoryRecording.h"

namespace kestrixctl {
namespace {

int exitStatusOf(const std::vector<kestrix::DriveReport>& reports) {
    const bool allDone = std::all_of(reports.begin(), reports.end(),
                                     [](const kestrix::DriveReport& report) { return report.verdict.isDone(); });
    return allDone ? exitSuccess : exitNotDone;
}

}  // namespace

// The record comes before any printing, so that a failure while printing never loses an eject
// that happened.
int finishEject(const Invocation& invocation, const kestrix::DriveReport& report, bool json) {
    recordReports(invocation, {report});
    if (json) {
        invocation.out << kestrix::coding::jsonText(report) << '\n';
    } else {
        invocation.out << textsupport::visibleText(kestrix::ReportText::message(report)) << '\n';
    }
    return exitStatusOf({report});
}

int finishEjectAll(const Invocation& invocation, const std::vector<kestrix::DriveReport>& reports, bool json) {
    recordReports(invocation, reports);
    const std::string summary = kestrix::ReportText::ejectAllSummary(reports);
    if (json) {
        invocation.out << kestrix::coding::jsonText({{"reports", reports}, {"summary", summary}}) << '\n';
    } else {
        invocation.out << textsupport::visibleText(summary) << '\n';
    }
    return exitStatusOf(reports);
}

}  // namespace kestrixctl

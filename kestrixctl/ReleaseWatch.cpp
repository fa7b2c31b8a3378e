#include "kestrixctl/ReleaseWatch.h"

#include "KestrixKit/Flow/ReportText.h"
#include "TextSupport/VisibleText.h"

namespace kestrixctl {
namespace {

// Short enough that "safe to unplug" follows the holder's exit closely; each look costs a scan.
constexpr double releasePollSeconds = 0.5;

}  // namespace

kestrix::DriveReport watchUntilReleased(const Invocation& invocation, const kestrix::EjectFlow& flow,
                                        kestrix::DriveReport report, bool json) {
    std::string shown;
    while (report.verdict.is<kestrix::DriveVerdict::Detached>()) {
        const std::string sentence = kestrix::ReportText::message(report);
        if (!json && sentence != shown) invocation.out << textsupport::visibleText(sentence) << std::endl;
        shown = sentence;
        flow.sleep(releasePollSeconds);
        report = flow.awaitRelease(report.drive, report.forced);
    }
    return report;
}

}  // namespace kestrixctl

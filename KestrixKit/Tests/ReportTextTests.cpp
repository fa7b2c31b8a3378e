#include <gtest/gtest.h>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Flow/ReportText.h"

using namespace kestrix;

namespace {

Holder named(std::string name) { return Holder{.pid = 1, .name = std::move(name)}; }

DriveReport reportOn(const std::string& volumeName, DriveVerdict verdict) {
    return DriveReport{.drive = Drive{"sdb", {DriveVolume{.name = volumeName, .mountPath = "/media/" + volumeName}}},
                       .verdict = std::move(verdict)};
}

}  // namespace

TEST(ReportText, HolderNamesListsThreeDistinctNamesAndMentionsOnlyNamesLeftOut) {
    EXPECT_EQ(ReportText::holderNames({}), "");
    EXPECT_EQ(ReportText::holderNames({named("A")}), "A");
    EXPECT_EQ(ReportText::holderNames({named("A"), named("B")}), "A and B");
    EXPECT_EQ(ReportText::holderNames({named("A"), named("B"), named("C")}), "A, B and C");
    EXPECT_EQ(ReportText::holderNames({named("A"), named("A"), named("B")}), "A and B");
    EXPECT_EQ(ReportText::holderNames({named("A"), named("A"), named("B"), named("C")}), "A, B and C");
    EXPECT_EQ(ReportText::holderNames({named("A"), named("B"), named("A"), named("C"), named("B")}), "A, B and C");
    EXPECT_EQ(ReportText::holderNames({named("A"), named("B"), named("C"), named("D"), named("E")}),
              "A, B and C and others");
}

TEST(ReportText, FailureReasonNamesKnownCodesAndPrintsOthersInHex) {
    EXPECT_EQ(ReportText::failureReason(DAStatus::notPrivileged), "not allowed");
    EXPECT_EQ(ReportText::failureReason(DAStatus::notPermitted), "not allowed");
    EXPECT_EQ(ReportText::failureReason(DAStatus::notFound), "the drive is gone");
    EXPECT_EQ(ReportText::failureReason(DAStatus::busy), "0xF8DA0002");
    EXPECT_EQ(ReportText::failureReason(0x10), "0x00000010");
    EXPECT_EQ(ReportText::failureReason(-1), "0xFFFFFFFF");
}

TEST(ReportText, MessageHasOneSentencePerVerdict) {
    Holder pages = named("Pages");
    pages.app = AppIdentity{.name = "Pages", .isRegular = true};
    pages.kind = HelperKind::app;
    Holder keynote = pages;
    keynote.name = "Keynote";
    const std::vector<Holder> two{named("Pages"), named("vim")};
    const std::vector<std::pair<DriveVerdict, std::string>> expected{
        {{DriveVerdict::InUse{two, {}}}, "Stick is in use by Pages and vim."},
        {{DriveVerdict::HeldByMacOS{named("mds"), {}}}, "Stick is in use: macOS says mds is using it."},
        {{DriveVerdict::HeldByMacOS{std::nullopt, {}}},
         "Stick is still in use by a macOS service. Try again in a moment."},
        {{DriveVerdict::WaitingOnApps{{pages, keynote}}},
         "Pages and Keynote are still open on Stick. They may be asking you to save."},
        {{DriveVerdict::WaitingOnApps{{pages, pages}}},
         "Pages is still open on Stick. It may be asking you to save."},
        // A program is only still running: it asks nothing, and has a remedy of its own.
        {{DriveVerdict::WaitingOnApps{{pages, named("vim")}}},
         "Pages is still open on Stick. It may be asking you to save. vim is still running. In its Terminal window, "
         "save your work and quit it."},
        {{DriveVerdict::WaitingOnApps{{named("rsync")}}},
         "rsync is still running. In its Terminal window, press Control-C."},
        {{DriveVerdict::BackupRunning{}}, "Time Machine is backing up to Stick."},
        {{DriveVerdict::Failed{DAStatus::notFound, "gone"}}, "macOS couldn’t eject Stick (the drive is gone)."},
        {{DriveVerdict::Ejected{}}, "Stick ejected. It’s safe to unplug."},
        {{DriveVerdict::UnmountedOnly{}}, "Stick is unmounted and safe to unplug (macOS couldn’t power it off)."},
    };
    for (const auto& [verdict, sentence] : expected) EXPECT_EQ(ReportText::message(reportOn("Stick", verdict)), sentence);
}

TEST(ReportText, EjectAllSummaryCountsSuccessesAndAppendsEachFailure) {
    EXPECT_EQ(ReportText::ejectAllSummary({}), "No drives to eject.");
    EXPECT_EQ(ReportText::ejectAllSummary({reportOn("A", {DriveVerdict::Ejected{}}),
                                           reportOn("B", {DriveVerdict::InUse{{named("vim")}, {}}}),
                                           reportOn("C", {DriveVerdict::UnmountedOnly{}}),
                                           reportOn("D", {DriveVerdict::BackupRunning{}})}),
              "Ejected: 2 of 4. B is in use by vim. Time Machine is backing up to D.");
}

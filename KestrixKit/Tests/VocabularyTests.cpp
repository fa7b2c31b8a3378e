#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "KestrixKit/Ejection/DAStatus.h"
#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/History/HistoryEvent.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Text/LinuxWords.h"
#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/Vocabulary.h"

using namespace kestrix;

namespace {

// Selects a vocabulary for one test and goes back to the base texts after it.
class VocabularyTest : public ::testing::Test {
protected:
    void TearDown() override { selectVocabulary(Vocabulary::document); }
};

// The other system's names that a Linux user must never read.
std::vector<std::string> otherSystemWords(const std::string& text) {
    static const std::regex words(
        "macOS|\\bMac\\b|Finder|Spotlight|Quick Look|Time Machine|Photos|App Store|Terminal|\u2318|\u2325|\u2303");
    std::vector<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), words); match != std::sregex_iterator(); ++match) {
        found.push_back(match->str());
    }
    return found;
}

DriveReport reportOn(DriveVerdict verdict) {
    return DriveReport{.drive = Drive{"sdb", {DriveVolume{.name = "Stick", .mountPath = "/media/u/Stick"}}},
                       .verdict = std::move(verdict)};
}

// Every text a user reads about holders and ejects, with sample values.
std::vector<std::string> everyUserText() {
    const Holder vim{.pid = 300, .name = "vim"};
    const Hold reading{HoldKind::openFile, "/media/u/Stick/notes.txt", false};
    const Hold writing{HoldKind::openFile, "/media/u/Stick/notes.txt", true};
    const Hold folder{HoldKind::currentFolder, "/media/u/Stick/src", false};
    std::vector<std::string> texts;
    for (const HelperKind kind : allHelperKinds) {
        texts.push_back(HelperCatalog::label(kind));
        texts.push_back(HelperCatalog::advice(kind));
        for (const std::vector<Hold>& holds : {std::vector<Hold>{}, {reading}, {writing}, {folder}}) {
            texts.push_back(HelperCatalog::description(Holder{.pid = 300, .name = "tool", .kind = kind, .holds = holds}));
        }
    }
    for (const char* program : {"less", "top", "vim", "nano", "emacs", "micro", "rsync"}) {
        const Holder running{.pid = 300, .name = program, .kind = HelperKind::commandLine};
        texts.push_back(HelperCatalog::advice(running));
        texts.push_back(HelperCatalog::stillRunning(running));
    }
    for (const std::optional<std::string>& job : {std::optional<std::string>(), std::optional<std::string>("vim")}) {
        const Holder shell{.pid = 301, .name = "bash", .kind = HelperKind::shell, .job = job};
        texts.push_back(HelperCatalog::advice(shell));
        texts.push_back(HelperCatalog::stillRunning(shell));
    }
    for (const Hold& hold : {reading, writing, folder, Hold{HoldKind::runningFrom, "/media/u/Stick/a", false},
                             Hold{HoldKind::mappedFile, "/media/u/Stick/lib.so", false}}) {
        texts.push_back(HelperCatalog::holdLine(hold));
    }
    std::vector<DriveReport> reports;
    for (const DriveVerdict& verdict :
         {DriveVerdict{DriveVerdict::InUse{{vim}, {}}}, DriveVerdict{DriveVerdict::HeldByMacOS{vim, {}}},
          DriveVerdict{DriveVerdict::HeldByMacOS{std::nullopt, {}}}, DriveVerdict{DriveVerdict::WaitingOnApps{{vim}}},
          DriveVerdict{DriveVerdict::BackupRunning{}},
          DriveVerdict{DriveVerdict::Failed{DAStatus::notPermitted, "Operation not permitted"}},
          DriveVerdict{DriveVerdict::Failed{DAStatus::busy, std::nullopt}}, DriveVerdict{DriveVerdict::Ejected{}},
          DriveVerdict{DriveVerdict::UnmountedOnly{}}}) {
        reports.push_back(reportOn(verdict));
        texts.push_back(ReportText::message(reports.back()));
        const HistoryEvent event = HistoryEvent::fromReport(reports.back(), Uuid{});
        texts.push_back(label(event.outcome));
        for (const HistoryEvent::Culprit& culprit : event.culprits) texts.push_back(culprit.name);
    }
    texts.push_back(ReportText::ejectAllSummary(reports));
    for (const auto& [base, linuxWording] : LinuxWords::all()) texts.push_back(localized(base));
    return texts;
}

std::set<std::string> placeholders(std::string_view text) {
    static const std::regex slot("%[1-9]");
    const std::string copy(text);
    std::set<std::string> found;
    for (auto match = std::sregex_iterator(copy.begin(), copy.end(), slot); match != std::sregex_iterator(); ++match) {
        found.insert(match->str());
    }
    return found;
}

}  // namespace

TEST_F(VocabularyTest, TheLinuxSystemNeverNamesTheOtherSystemsPrograms) {
    selectVocabulary(Vocabulary::linuxSystem);
    for (const std::string& text : everyUserText()) {
        EXPECT_EQ(otherSystemWords(text), std::vector<std::string>{}) << text;
    }
    EXPECT_EQ(HelperCatalog::label(HelperKind::spotlight), "Search indexer");
    EXPECT_EQ(HelperCatalog::description(Holder{.name = "tracker-miner-fs-3", .kind = HelperKind::spotlight}),
              "The search indexer is indexing this drive so you can search it.");
    EXPECT_EQ(localized("\u2303\u2325\u2318E"), "Ctrl+Alt+Super+E");
    EXPECT_EQ(ReportText::message(reportOn(DriveVerdict{DriveVerdict::HeldByMacOS{std::nullopt, {}}})),
              "Stick is still in use by a system service. Try again in a moment.");
}

TEST_F(VocabularyTest, LinuxWordingKeepsEachSentencesPlaceholders) {
    std::set<std::string_view> bases;
    for (const auto& [base, linuxWording] : LinuxWords::all()) {
        EXPECT_EQ(placeholders(base), placeholders(linuxWording)) << base;
        EXPECT_NE(base, linuxWording);
        EXPECT_TRUE(bases.insert(base).second) << "twice: " << base;
    }
}

TEST_F(VocabularyTest, TheBaseTextsStayAsTheyAre) {
    std::vector<std::string> baseTexts;
    for (const auto& [base, linuxWording] : LinuxWords::all()) {
        EXPECT_EQ(localized(base), base);
        baseTexts.emplace_back(base);
    }
    // Every user text that names the other system's programs has a Linux wording.
    const std::vector<std::string> documentTexts = everyUserText();
    selectVocabulary(Vocabulary::linuxSystem);
    const std::vector<std::string> linuxTexts = everyUserText();
    ASSERT_EQ(documentTexts.size(), linuxTexts.size());
    for (std::size_t index = 0; index < documentTexts.size(); ++index) {
        if (!otherSystemWords(documentTexts[index]).empty()) {
            EXPECT_NE(documentTexts[index], linuxTexts[index]);
        }
    }
    selectVocabulary(Vocabulary::document);
    EXPECT_EQ(HelperCatalog::label(HelperKind::fileService), "macOS service");
    EXPECT_EQ(HelperCatalog::advice(HelperKind::commandLine),
              "Stop it (Control-C in its Terminal window), or end it from here.");
}

TEST_F(VocabularyTest, AProgramThatOutlivesItsStopIsToldAboutInItsOwnWords) {
    selectVocabulary(Vocabulary::linuxSystem);
    const Holder bash{.pid = 40, .name = "bash", .kind = HelperKind::shell};
    const Holder less{.pid = 41, .name = "less", .kind = HelperKind::commandLine};
    const Holder pages{.pid = 42, .name = "Mousepad", .app = AppIdentity{.name = "Mousepad", .isRegular = true},
                       .kind = HelperKind::app};
    EXPECT_EQ(ReportText::message(reportOn(DriveVerdict{DriveVerdict::WaitingOnApps{{bash}}})),
              "bash is still running. In its terminal, type cd ~, or close the terminal.");
    EXPECT_EQ(ReportText::message(reportOn(DriveVerdict{DriveVerdict::WaitingOnApps{{pages, less, bash}}})),
              "Mousepad is still open on Stick. It may be asking you to save. less is still running. In its terminal, "
              "press q. bash is still running. In its terminal, type cd ~, or close the terminal.");
    EXPECT_EQ(HelperCatalog::advice(less), "Press q in its terminal to close it, or end it from here.");
    EXPECT_EQ(HelperCatalog::advice(Holder{.name = "vi", .executablePath = "/usr/bin/vim.basic",
                                           .kind = HelperKind::commandLine}),
              "In its terminal, type :wq to save your work and quit.");
    EXPECT_EQ(HelperCatalog::advice(Holder{.name = "bash", .kind = HelperKind::shell, .job = "top"}),
              "It\u2019s running top: quit top in that terminal first, then type cd ~ and press Enter, or close the "
              "terminal.");
}

TEST_F(VocabularyTest, ALinuxRefusalGivesTheSystemsReason) {
    const DriveVerdict::Failed notPermitted{DAStatus::notPermitted, "Operation not permitted"};
    const DriveVerdict::Failed silent{0xC000 + 5, std::nullopt};
    EXPECT_EQ(ReportText::failureReason(notPermitted), "not allowed");
    selectVocabulary(Vocabulary::linuxSystem);
    EXPECT_EQ(ReportText::message(reportOn(DriveVerdict{notPermitted})),
              "The system couldn\u2019t eject Stick (Operation not permitted).");
    EXPECT_EQ(ReportText::failureReason(DriveVerdict::Failed{0xC000 + 16, "Device or resource busy"}),
              "Device or resource busy");
    // Without the system's words, the status as before.
    EXPECT_EQ(ReportText::failureReason(silent), "0x0000C005");
    EXPECT_EQ(ReportText::failureReason(DriveVerdict::Failed{DAStatus::notFound, ""}), "the drive is gone");
}

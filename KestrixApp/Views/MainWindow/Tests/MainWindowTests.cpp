#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "KestrixApp/Views/MainWindow/HistoryDate.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/MainWindow/ResultRow.h"
#include "KestrixApp/Views/MainWindow/Section.h"
#include "KestrixApp/Views/Panel/EmptyDrives.h"
#include "KestrixApp/Views/TestSupport/ViewHarness.h"
#include "KestrixKit/Linux/Files/HistoryFile.h"

using namespace kestrix;
using namespace kestrix::views;
using kestrix::testing::ModelHarness;
using kestrix::testing::stick;
using kestrix::testing::stickId;
using kestrix::testing::threeSticksOneHeld;
using kestrix::testing::userProcess;
using kestrix::views::testing::ViewHarness;

namespace {

bool shows(const MainWindowView& window, const char* name) {
    QWidget* part = window.findChild<QWidget*>(name);
    return part != nullptr && part->isVisibleTo(&window);
}

QStringList rowNames(const MainWindowView& window, const char* section) {
    QStringList names;
    for (auto* row : window.findChild<Section*>(section)->findChildren<ResultRow*>()) names << row->accessibleName();
    return names;
}

void pressReturn(QPushButton* button) {
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
}

std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour, int minute) {
    const QDateTime when(QDate(year, month, day), QTime(hour, minute));
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(when.toMSecsSinceEpoch()));
}

}  // namespace

TEST(MainWindow, ThePagePickerFollowsAndSetsTheRememberedPage) {
    ViewHarness views;
    views.startViews(threeSticksOneHeld());
    MainWindowView window(*views.context);
    auto* pages = window.findChild<QStackedWidget*>();
    EXPECT_EQ(pages->currentWidget()->objectName(), "drivesPage") << "a first start shows the drives";

    pressReturn(window.findChild<QPushButton*>("historyChoice"));
    EXPECT_EQ(views.model->mainPage(), "history");
    EXPECT_EQ(pages->currentWidget()->objectName(), "historyPage");

    views.model->setMainPage("drives");
    EXPECT_EQ(pages->currentWidget()->objectName(), "drivesPage");
    EXPECT_TRUE(window.findChild<QPushButton*>("drivesChoice")->isChecked());

    views.model->setMainPage("history");
    MainWindowView later(*views.context);
    EXPECT_EQ(later.findChild<QStackedWidget*>()->currentWidget()->objectName(), "historyPage");
}

TEST(MainWindow, SectionsAppearWithTheirDrivesAndResultsAndGoWhenEmpty) {
    ViewHarness views;
    views.startViews(threeSticksOneHeld());
    MainWindowView window(*views.context);
    EXPECT_TRUE(shows(window, "needsYouSection"));
    EXPECT_TRUE(shows(window, "readySection"));
    EXPECT_FALSE(shows(window, "lastEjectAllSection")) << "no Eject All since launch";
    EXPECT_FALSE(shows(window, "ejectedSection"));
    EXPECT_EQ(window.findChild<Section*>("needsYouSection")->accessibleName(), "Needs you, 1");
    EXPECT_EQ(window.findChild<Section*>("readySection")->accessibleName(), "Ready to eject, 2");

    pressReturn(window.findChild<QPushButton*>("ejectAllButton"));
    ASSERT_TRUE(views.model->ejectingAll());
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.settled(1); }));
    EXPECT_TRUE(shows(window, "needsYouSection"));
    EXPECT_FALSE(shows(window, "readySection")) << "both ready drives are gone";
    const QStringList lastAll = rowNames(window, "lastEjectAllSection");
    ASSERT_EQ(lastAll.size(), 3) << "one row per drive, in drive order";
    EXPECT_TRUE(lastAll[0].startsWith("Docs ejected"));
    EXPECT_TRUE(lastAll[1].startsWith("Held is in use"));
    EXPECT_TRUE(lastAll[2].startsWith("Music ejected"));
    EXPECT_EQ(rowNames(window, "ejectedSection").size(), 2);
    EXPECT_TRUE(rowNames(window, "ejectedSection").front().startsWith("Music")) << "newest first";
}

TEST(MainWindow, WithoutDrivesTheEmptyViewIsTheWholePage) {
    ViewHarness views;
    views.startViews({{"volumes", {stick("Docs", 0)}}});
    MainWindowView window(*views.context);
    EXPECT_FALSE(window.findChild<EmptyDrives*>()->isVisibleTo(&window));
    views.model->eject(views.drive(stickId(0)), false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.settled(0) && !views.model->recent().empty(); }));
    EXPECT_TRUE(window.findChild<EmptyDrives*>()->isVisibleTo(&window));
    EXPECT_FALSE(shows(window, "needsYouSection"));
    EXPECT_FALSE(shows(window, "readySection"));
    EXPECT_FALSE(shows(window, "ejectedSection")) << "the result is in the history, not under the empty view";
    EXPECT_FALSE(shows(window, "lastEjectAllSection"));
}

TEST(MainWindow, HistoryListsAttemptsAndOffendersAndClearsOnlyWhenConfirmed) {
    ViewHarness views;
    views.startViews(threeSticksOneHeld());
    views.model->setMainPage("history");
    MainWindowView window(*views.context);
    EXPECT_TRUE(shows(window, "emptyHistory"));
    EXPECT_FALSE(shows(window, "clearHistoryButton"));

    const Drive held = views.drive(stickId(1));
    views.model->eject(held, false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.model->history().events.size() == 1; }));
    views.model->eject(held, false, false);
    views.model->eject(views.drive(stickId(0)), false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.model->history().events.size() == 3 && views.settled(2); }));
    EXPECT_FALSE(shows(window, "emptyHistory"));
    auto* attempts = window.findChild<Section*>("attemptsSection");
    EXPECT_EQ(attempts->accessibleName(), "Every attempt, 3");
    const QStringList offenderLines = [&] {
        QStringList lines;
        for (auto* label : window.findChild<Section*>("offendersSection")->findChildren<QLabel*>()) lines << label->text();
        return lines;
    }();
    EXPECT_TRUE(offenderLines.contains("vim"));
    EXPECT_TRUE(offenderLines.contains("Blocked 2 times"));
    QStringList attemptNames;
    for (QWidget* row : attempts->findChildren<QWidget*>()) {
        if (!row->accessibleName().isEmpty() && row != attempts) attemptNames << row->accessibleName();
    }
    ASSERT_EQ(attemptNames.size(), 3);
    EXPECT_TRUE(attemptNames[0].startsWith("Docs, Ejected, ")) << attemptNames[0].toStdString();
    EXPECT_TRUE(attemptNames[1].startsWith("Held, In use: vim, ")) << attemptNames[1].toStdString();

    const QString historyFile = views.path("history.json");
    auto* clear = window.findChild<QPushButton*>("clearHistoryButton");
    pressReturn(clear);
    EXPECT_EQ(views.dialogs.clearHistoryQuestions, 1);
    EXPECT_EQ(views.model->history().events.size(), 3u) << "Cancel changes nothing";
    // The events reach the file off the window's thread.
    EXPECT_TRUE(QTest::qWaitFor([&] { return loadHistory(historyFile.toStdString()).history.events.size() == 3u; }));

    views.dialogs.clearHistoryAnswer = true;
    pressReturn(clear);
    EXPECT_TRUE(shows(window, "emptyHistory"));
    EXPECT_FALSE(shows(window, "attemptsSection"));
    EXPECT_FALSE(shows(window, "offendersSection"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return loadHistory(historyFile.toStdString()).history.events.empty(); }));
}

TEST(HistoryDate, AbbreviatedMonthDayHourAndMinuteInTheLocalesOrder) {
    const auto when = localTime(2026, 1, 5, 14, 7) + std::chrono::seconds(9);
    const QString american = historyDate(when, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(american.startsWith("Jan 5, 2:07")) << american.toStdString();
    EXPECT_TRUE(american.endsWith("PM")) << american.toStdString();
    const QString german = historyDate(when, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(german.startsWith("5. Jan") || german.startsWith("5 Jan")) << german.toStdString();
    EXPECT_TRUE(german.endsWith("14:07")) << german.toStdString();
    const QString plain = historyDate(when, QLocale::c());
    EXPECT_TRUE(plain.endsWith("14:07")) << "no seconds, even where the short time has them: " << plain.toStdString();
}

TEST(HistoryDate, DatesSpeakTheLanguageOfTheTexts) {
    const QLocale unset = QLocale::c();  // LANG unset
    EXPECT_EQ(textLocale("es", unset).language(), QLocale::Spanish);
    EXPECT_EQ(textLocale("", unset).language(), QLocale::English);
    const QLocale argentina(QLocale::Spanish, QLocale::Argentina);
    EXPECT_EQ(textLocale("es", argentina), argentina) << "the system's country, where it speaks the language";
    EXPECT_EQ(textLocale("es", QLocale(QLocale::German, QLocale::Germany)).language(), QLocale::Spanish);
    const QString spanish = historyDate(localTime(2026, 12, 7, 6, 7), textLocale("es", unset));
    EXPECT_TRUE(spanish.startsWith("7 dic")) << spanish.toStdString();
}

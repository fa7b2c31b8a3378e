#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>
#include <gtest/gtest.h>

#include "KestrixApp/Views/Cards/Chip.h"
#include "KestrixApp/Views/Cards/DriveCard.h"
#include "KestrixApp/Views/Cards/ElidedLabel.h"
#include "KestrixApp/Views/Panel/EmptyDrives.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/TestSupport/ViewHarness.h"

using namespace kestrix;
using namespace kestrix::views;
using kestrix::testing::stick;
using kestrix::testing::userProcess;
using kestrix::views::testing::ViewHarness;

namespace {

void settle() {
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Where the widget's right edge is, in the panel's coordinates.
int rightEdgeIn(const QWidget* widget, const QWidget* panel) {
    return widget->mapTo(panel, QPoint(widget->width() - 1, 0)).x();
}

}  // namespace

TEST(PanelLayout, ALongNameIsCutWithAnEllipsisAndTheCardsAndChipsStayInside) {
    const std::string longName = "Family Archive 2019-2024, Holiday Photos and Video";
    ViewHarness views;
    views.startViews({{"volumes", {stick(longName, 0), stick("Music", 1), stick("Docs", 2), stick("Camera", 3),
                                   stick("Backup", 4), stick("Travel", 5)}},
                      {"processes", {userProcess(410, "a-program-with-a-rather-long-name-of-its-own", stick(longName, 0))}}});
    MenuPanel panel(*views.context);
    panel.show();
    settle();
    const QWidget* viewport = panel.findChild<QScrollArea*>("driveList")->viewport();
    const int visibleRight = rightEdgeIn(viewport, &panel);
    const auto cards = panel.findChildren<DriveCard*>();
    ASSERT_EQ(cards.size(), 6);
    for (const DriveCard* card : cards) {
        EXPECT_LE(rightEdgeIn(card, &panel), visibleRight) << "the card is held to the list's width";
        const Chip* chip = card->findChild<Chip*>();
        ASSERT_NE(chip, nullptr);
        EXPECT_TRUE(chip->isVisible());
        EXPECT_LE(rightEdgeIn(chip, &panel), visibleRight) << "the chip is whole";
    }
    const ElidedLabel* longTitle = nullptr;
    for (const ElidedLabel* title : panel.findChildren<ElidedLabel*>("driveName")) {
        if (title->wholeText() == QString::fromStdString(longName)) longTitle = title;
    }
    ASSERT_NE(longTitle, nullptr);
    EXPECT_TRUE(longTitle->text().endsWith(QChar(0x2026))) << longTitle->text().toStdString();
    EXPECT_EQ(longTitle->toolTip(), QString::fromStdString(longName));
    EXPECT_EQ(longTitle->accessibleName(), QString::fromStdString(longName));
}

TEST(PanelLayout, CardsAreAsHighAsTheirWrappedLinesAndNoHigher) {
    ViewHarness views;
    views.startViews({{"volumes", {stick("Held", 0)}},
                      {"processes", {userProcess(410, "vim", stick("Held", 0)), userProcess(411, "less", stick("Held", 0))}}});
    MenuPanel panel(*views.context);
    panel.show();
    settle();
    const DriveCard* card = panel.findChild<DriveCard*>();
    ASSERT_NE(card, nullptr);
    int lowest = 0;
    for (const QWidget* part : card->findChildren<QWidget*>()) {
        if (part->isVisible()) lowest = std::max(lowest, part->mapTo(card, QPoint(0, part->height())).y());
    }
    EXPECT_LE(card->height() - lowest, 12 + 2) << "only the card's own inset under its buttons";
    for (const QLabel* label : card->findChildren<QLabel*>()) {
        if (label->isVisible() && label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        }
    }
    const auto* list = panel.findChild<QScrollArea*>("driveList");
    EXPECT_NEAR(list->height(), card->height(), 1) << "the list is as high as its one card";
}

TEST(PanelLayout, TheFooterLinksAreEvenlySpaced) {
    ViewHarness views;
    views.startViews(nlohmann::json::object());
    MenuPanel panel(*views.context);
    panel.show();
    settle();
    std::vector<int> spaces;
    for (const char* title : {"Open Kestrix", "Settings…", "Help"}) {
        for (const QPushButton* link : panel.findChildren<QPushButton*>()) {
            if (link->text() == title) spaces.push_back(link->width() - link->fontMetrics().horizontalAdvance(link->text()));
        }
    }
    ASSERT_EQ(spaces.size(), 3u);
    EXPECT_NEAR(spaces[0], spaces[1], 1);
    EXPECT_NEAR(spaces[1], spaces[2], 1);
}

TEST(PanelLayout, TheEmptyViewsLinesAreWhole) {
    ViewHarness views;
    views.startViews(nlohmann::json::object());
    MenuPanel panel(*views.context);
    panel.show();
    settle();
    const auto* empty = panel.findChild<EmptyDrives*>();
    ASSERT_TRUE(empty->isVisible());
    for (const QLabel* label : empty->findChildren<QLabel*>()) {
        if (!label->isVisible()) continue;
        EXPECT_LE(label->geometry().right(), empty->rect().right()) << label->text().toStdString();
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        }
    }
    EXPECT_LE(empty->geometry().bottom(), panel.rect().bottom());
}

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "KestrixApp/Views/Toast/Tests/RecordingToastSurface.h"
#include "KestrixApp/Views/Toast/Toast.h"
#include "KestrixApp/Views/Toast/ToastPanel.h"
#include "KestrixApp/Views/Toast/ToastPlacement.h"
#include "KestrixApp/Views/Toast/ToastText.h"

namespace {

using namespace kestrix;
using namespace kestrix::views;

// Holds every wait until the test ends it.
class HeldTimer : public WaitTimer {
public:
    struct Wait {
        double seconds;
        std::function<void()> then;
    };
    std::vector<Wait> waits;
    void after(double seconds, QObject*, std::function<void()> then) override { waits.push_back({seconds, std::move(then)}); }
};

using RecordingSurface = kestrix::views::testing::RecordingToastSurface;

TEST(Toast, ASecondToastReplacesTheFirstAndStaysItsFullFourSeconds) {
    auto timer = std::make_shared<HeldTimer>();
    auto surface = std::make_unique<RecordingSurface>();
    RecordingSurface& shown = *surface;
    std::vector<QString> spoken;
    Toast toast(std::move(surface), timer, [&](const QString& text) { spoken.push_back(text); });

    toast.showToast("Travel SSD was ejected.");
    toast.showToast("Photos Card was ejected.");
    EXPECT_EQ(shown.shown, "Photos Card was ejected.");
    EXPECT_EQ(spoken, (std::vector<QString>{"Travel SSD was ejected.", "Photos Card was ejected."}));
    ASSERT_EQ(timer->waits.size(), 2u);
    EXPECT_EQ(timer->waits[0].seconds, 4.0);
    EXPECT_EQ(timer->waits[1].seconds, 4.0);

    timer->waits[0].then();  // the first toast's four seconds are over
    EXPECT_TRUE(shown.visible) << "the second toast keeps its own four seconds";
    EXPECT_EQ(shown.shown, "Photos Card was ejected.");
    timer->waits[1].then();
    EXPECT_FALSE(shown.visible);

    // A toast after the last one ended shows again.
    toast.showToast("Nothing to eject.");
    EXPECT_TRUE(shown.visible);
}

TEST(Toast, NamesFromOutsideCannotBreakTheLineOrTurnTheText) {
    auto timer = std::make_shared<HeldTimer>();
    auto surface = std::make_unique<RecordingSurface>();
    RecordingSurface& shown = *surface;
    std::vector<QString> spoken;
    Toast toast(std::move(surface), timer, [&](const QString& text) { spoken.push_back(text); });
    // What a link could name to fake a second, reassuring line.
    toast.showToast(QString::fromUtf8("No drive named Camera\n\u202EIt’s safe to unplug is connected."));
    EXPECT_FALSE(shown.shown.contains('\n'));
    EXPECT_FALSE(shown.shown.contains(QChar(0x202E)));
    EXPECT_TRUE(shown.shown.startsWith("No drive named Camera\\u{")) << shown.shown.toStdString();
    ASSERT_EQ(spoken.size(), 1u);
    EXPECT_EQ(spoken.front(), shown.shown);
}

TEST(ToastPlacement, TopRightOfThePrimaryScreenElseTheFirstElseNowhere) {
    const QRect laptop(0, 0, 1920, 1040);
    const QRect secondScreen(1920, 27, 2560, 1413);  // right of the first, below a top bar
    EXPECT_EQ(toastFrame(laptop, {laptop, secondScreen}), QRect(1920 - 380 - 16, 10, 380, 64));
    EXPECT_EQ(toastFrame(secondScreen, {laptop, secondScreen}), QRect(1920 + 2560 - 380 - 16, 27 + 10, 380, 64));
    EXPECT_EQ(toastFrame(std::nullopt, {secondScreen, laptop}), QRect(1920 + 2560 - 380 - 16, 37, 380, 64));
    EXPECT_EQ(toastFrame(std::nullopt, {}), std::nullopt);
}

TEST(ToastPanel, OneFramelessPanelThatNeverTakesFocusReusedForEveryToast) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) GTEST_SKIP() << "the platform has no screen";
    ToastPanel panel;
    QWidget& window = panel.widget();
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(flags.testFlag(Qt::X11BypassWindowManagerHint));
    EXPECT_TRUE(window.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(window.testAttribute(Qt::WA_TransparentForMouseEvents));

    panel.show("Travel SSD was ejected.");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), toastFrame(screen->availableGeometry(), {}));
    EXPECT_NE(QApplication::focusWidget(), &window);
    panel.show("<b>Card</b> was ejected.");
    EXPECT_EQ(&panel.widget(), &window);
    EXPECT_EQ(panel.text(), "<b>Card</b> was ejected.");
    panel.hide();
    EXPECT_FALSE(window.isVisible());
}

TEST(ToastPanel, ALongSentenceMakesItTallerUpToItsLimitThenItsEndIsCutButNotForScreenReaders) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) GTEST_SKIP() << "the platform has no screen";
    ToastPanel panel;
    QLabel& label = panel.label();
    const QString fiveDrives = "Ejected: 3 of 5. Travel SSD, Photos and Backup Disk are safe to unplug. Camera Card is "
                               "in use: Preview has a file open. Music Stick is in use: a terminal window is open in a "
                               "folder on it.";
    panel.show(fiveDrives);
    EXPECT_GT(panel.widget().height(), toastSize.height());
    EXPECT_GE(label.height(), label.heightForWidth(label.width())) << "no line of it is cut";
    EXPECT_EQ(label.text(), fiveDrives) << "it fits in the lines it may have";

    QString endless;
    for (int drive = 1; drive <= 30; ++drive) endless += QString("Drive %1 is in use by a program. ").arg(drive);
    panel.show(endless);
    const int tallest = panel.widget().height();
    EXPECT_GE(label.height(), label.heightForWidth(label.width()));
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026))) << label.text().toStdString();
    EXPECT_EQ(label.accessibleName(), endless);
    EXPECT_EQ(panel.text(), endless);
    panel.show(endless + endless);
    EXPECT_EQ(panel.widget().height(), tallest) << "a cap, not a panel as tall as the text";
    EXPECT_EQ(panel.widget().geometry(), toastFrame(screen->availableGeometry(), {}, panel.widget().size()));

    panel.show("Travel SSD was ejected.");
    EXPECT_EQ(panel.widget().size(), toastSize) << "and back for a short one";
}

TEST(ToastText, WholeWhenItFitsElseCutAtTheLastAllowedLine) {
    const QFont font;
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance("Travel SSD was ejected and");
    EXPECT_EQ(elidedToLines("Travel SSD was ejected.", font, width, 2), "Travel SSD was ejected.");
    const QString cut = elidedToLines("one two three four five six seven eight nine ten eleven twelve thirteen "
                                      "fourteen fifteen sixteen",
                                      font, width, 2);
    EXPECT_TRUE(cut.startsWith("one two")) << cut.toStdString();
    EXPECT_TRUE(cut.endsWith(QChar(0x2026))) << cut.toStdString();
    EXPECT_LE(metrics.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, cut).height(), 2 * metrics.lineSpacing());
}

}  // namespace

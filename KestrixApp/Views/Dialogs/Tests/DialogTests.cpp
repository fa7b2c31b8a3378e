#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <algorithm>
#include <QMessageBox>
#include <QDialogButtonBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include "KestrixApp/Views/Dialogs/ModalConfirmations.h"
#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"
#include "KestrixApp/Views/Dialogs/QuitAndEjectDialog.h"

using namespace kestrix;
using namespace kestrix::views;

namespace {

constexpr std::uint32_t user = 501;

Drive stick() {
    DriveVolume volume;
    volume.name = "Stick";
    return Drive{.id = "sdb", .volumes = {volume}};
}

Holder app(std::int32_t pid, const std::string& name) {
    return Holder{.pid = pid, .name = name, .executablePath = "/opt/" + name, .uid = user,
                  .app = AppIdentity{.name = name, .isRegular = true}, .kind = HelperKind::app};
}

Holder program(std::int32_t pid, const std::string& name, bool writing) {
    return Holder{.pid = pid, .name = name, .executablePath = "/usr/bin/" + name, .uid = user,
                  .kind = HelperKind::commandLine,
                  .holds = {Hold{.kind = HoldKind::openFile, .path = "/media/Stick/f", .writing = writing}}};
}

Holder service() {
    return Holder{.pid = 300, .name = "udisksd", .executablePath = "/usr/libexec/udisks2/udisksd", .uid = 0,
                  .kind = HelperKind::fileService};
}

// Presses a key in the modal dialog once it is up.
void pressInModal(Qt::Key key, std::function<void(QWidget*)> before = {}) {
    QTimer::singleShot(0, [key, before] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        if (before) before(modal);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal, key);
    });
}

// The button order of GNOME's desktops: Cancel first, the answer last.
class GnomeButtonOrder : public QProxyStyle {
public:
    GnomeButtonOrder() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_DialogButtonLayout) return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// Puts the app in another desktop's style for one test.
class ScopedStyle {
public:
    explicit ScopedStyle(QStyle* style) : previous_(QApplication::style()->name()) { QApplication::setStyle(style); }
    ~ScopedStyle() { QApplication::setStyle(QStyleFactory::create(previous_)); }

private:
    QString previous_;
};

}  // namespace

TEST(QuitQuestion, WritingProgramsStartUntickedAndEveryParagraphAppliesOnlyWhenItShould) {
    const std::vector<Holder> holders{app(510, "Pages"), program(520, "rsync", false), program(630, "tar", true),
                                      service()};
    const QuitQuestion question = quitQuestion(stick(), holders, user);
    EXPECT_EQ(question.text.message, "Quit what’s using Stick, then eject it?");
    EXPECT_EQ(question.text.paragraphs,
              (std::vector<std::string>{
                  "Kestrix asks Pages to quit, the same as choosing Quit. An app with unsaved work asks you first; "
                  "nothing is force-quit.",
                  "Tick the programs Kestrix may stop. Stopping one ends it at once (a Terminal window running it "
                  "closes its program); unsaved work in it is lost.",
                  "macOS services on the list are left alone; Kestrix tries again after they let go."}));

    QuitAndEjectDialog dialog(question);
    ASSERT_EQ(dialog.programBoxes().size(), 2u);
    EXPECT_EQ(dialog.programBoxes()[0]->text(), "Stop rsync");
    EXPECT_TRUE(dialog.programBoxes()[0]->isChecked());
    EXPECT_EQ(dialog.programBoxes()[1]->text(), "Stop tar (writing to the drive)");
    EXPECT_FALSE(dialog.programBoxes()[1]->isChecked());
    EXPECT_EQ(dialog.tickedPids(), std::set<std::int32_t>{520});

    const QuitQuestion appsOnly = quitQuestion(stick(), {app(510, "Pages")}, user);
    EXPECT_TRUE(appsOnly.programs.empty());
    EXPECT_EQ(appsOnly.text.paragraphs.size(), 1u) << "no programs, no services";

    // Never a promise to ask an app the desktop gives no way to ask.
    Holder featherPad = app(540, "FeatherPad");
    featherPad.app->reach = AppReach{.canAskToQuit = false, .canShow = false};
    EXPECT_EQ(quitQuestion(stick(), {featherPad, app(510, "Pages")}, user).text.paragraphs,
              (std::vector<std::string>{
                  "Kestrix asks Pages to quit, the same as choosing Quit. An app with unsaved work asks you first; "
                  "nothing is force-quit.",
                  "FeatherPad can’t be asked to quit on this desktop. Save your work in it and close it, then Kestrix "
                  "ejects."}));
}

TEST(QuitQuestion, ReturnAnswersWithTheTickedProgramsAndEscapeWithNothing) {
    ModalConfirmations dialogs;
    const std::vector<Holder> holders{program(520, "rsync", false), program(630, "tar", true)};
    pressInModal(Qt::Key_Return, [](QWidget* modal) {
        auto boxes = modal->findChildren<QCheckBox*>();
        ASSERT_EQ(boxes.size(), 2);
        boxes[0]->setChecked(false);
        boxes[1]->setChecked(true);
    });
    EXPECT_EQ(dialogs.confirmQuitAndEject(nullptr, stick(), holders, user), std::set<std::int32_t>{630});

    pressInModal(Qt::Key_Escape);
    EXPECT_EQ(dialogs.confirmQuitAndEject(nullptr, stick(), holders, user), std::nullopt);

    pressInModal(Qt::Key_Return);
    EXPECT_EQ(dialogs.confirmQuitAndEject(nullptr, stick(), {app(510, "Pages")}, user), std::set<std::int32_t>{})
        << "apps only: an empty set, not a cancel";
}

TEST(ForceEjectQuestion, ReturnNeverForcesAndTheWritersAreNamed) {
    const Question question = forceEjectQuestion(stick(), {app(510, "Pages"), program(630, "tar", true)});
    EXPECT_EQ(question.message, "Force eject Stick?");
    EXPECT_EQ(question.paragraphs,
              (std::vector<std::string>{"macOS unmounts the drive even though something is using it. Files that are "
                                        "open on it can lose unsaved changes or be damaged.",
                                        "tar is writing to the drive right now. Forcing it now is likely to damage "
                                        "that file."}));

    const GuardedQuestion box = forceEjectBox(question, nullptr);
    EXPECT_EQ(box.box->informativeText().count("\n\n"), 1);
    EXPECT_EQ(box.box->defaultButton()->text(), "Cancel");
    EXPECT_EQ(box.box->buttonRole(box.confirm), QMessageBox::DestructiveRole);
    delete box.box;

    ModalConfirmations dialogs;
    pressInModal(Qt::Key_Return);
    EXPECT_FALSE(dialogs.confirmForceEject(nullptr, stick(), {}));
    pressInModal(Qt::Key_Return, [](QWidget* modal) {
        for (QPushButton* candidate : modal->findChildren<QPushButton*>()) {
            if (candidate->text() == "Force Eject") candidate->setFocus();
        }
    });
    EXPECT_FALSE(dialogs.confirmForceEject(nullptr, stick(), {})) << "not even with the focus on Force Eject";
    QTimer::singleShot(0, [] {
        for (QPushButton* candidate : QApplication::activeModalWidget()->findChildren<QPushButton*>()) {
            if (candidate->text() == "Force Eject") candidate->click();
        }
    });
    EXPECT_TRUE(dialogs.confirmForceEject(nullptr, stick(), {}));
}

TEST(StopBackupQuestion, ReturnCancelsAndTheQuestionNamesTheDrive) {
    const Question question = stopBackupQuestion(stick());
    EXPECT_EQ(question.message, "Stop the Time Machine backup to Stick?");
    ModalConfirmations dialogs;
    pressInModal(Qt::Key_Return);
    EXPECT_FALSE(dialogs.confirmStopBackup(nullptr, stick()));
    pressInModal(Qt::Key_Return);
    EXPECT_FALSE(dialogs.confirmClearHistory(nullptr));
}

TEST(QuitQuestion, ReturnQuitsAndEjectsUnderGnomesButtonOrderToo) {
    const ScopedStyle gnome(new GnomeButtonOrder);
    ModalConfirmations dialogs;
    pressInModal(Qt::Key_Return, [](QWidget* modal) {
        // The order put Cancel first; the test makes sure it really is the first and has the focus.
        auto* box = modal->findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        const auto buttons = box->findChildren<QPushButton*>();
        QPushButton* leftmost = *std::min_element(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        ASSERT_EQ(leftmost->text(), "Cancel");
        leftmost->setFocus();
    });
    EXPECT_EQ(dialogs.confirmQuitAndEject(nullptr, stick(), {app(510, "Pages")}, user), std::set<std::int32_t>{});
}

TEST(Questions, AreWideEnoughToKeepTheirWordsAndCannotBeResized) {
    const GuardedQuestion force = forceEjectBox(forceEjectQuestion(stick(), {}), nullptr);
    force.box->show();
    EXPECT_GE(force.box->width(), 380) << "about 400 wide, not as narrow as its message";
    EXPECT_EQ(force.box->minimumSize(), force.box->maximumSize());
    delete force.box;

    QuitAndEjectDialog dialog(quitQuestion(stick(), {app(510, "Pages"), program(520, "rsync", false)}, user));
    dialog.show();
    EXPECT_GE(dialog.width(), 380);
    EXPECT_LE(dialog.width(), 440);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed: nothing to maximise";
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        }
    }
}

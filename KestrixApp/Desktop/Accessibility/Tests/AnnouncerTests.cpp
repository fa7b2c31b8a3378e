#include <gtest/gtest.h>

#include <QAccessible>
#include <QEvent>
#include <QWidget>

#include <vector>

#include "KestrixApp/Desktop/Accessibility/Announcer.h"

using kestrix::desktop::Announcer;

namespace {

// What a screen reader sees of the announcer: each time it becomes showing, and its name then.
class Appearances : public QObject {
public:
    explicit Appearances(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
    std::vector<QString> seen;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == watched_ && event->type() == QEvent::Show) seen.push_back("shown: " + watched_->accessibleName());
        if (object == watched_ && event->type() == QEvent::Hide) seen.push_back("hidden");
        return false;
    }

private:
    QWidget* watched_;
};

}  // namespace

TEST(Announcer, IsANotificationNamedWithTheLastSentence) {
    QWidget window;
    window.show();
    Announcer announcer(window);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&announcer);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Notification);
    EXPECT_TRUE(accessible->state().invisible) << "nothing is announced before the first sentence";

    announcer.announce(QStringLiteral("The first sentence."));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("The first sentence."));
    EXPECT_FALSE(accessible->state().invisible);
    EXPECT_FALSE(accessible->state().focusable);
}

TEST(Announcer, ShowsAfreshWithTheSentenceAlreadyNamedEvenWhenItRepeats) {
    QWidget window;
    window.show();
    Announcer announcer(window);
    Appearances screenReader(&announcer);

    announcer.announce(QStringLiteral("One"));
    announcer.announce(QStringLiteral("One"));
    announcer.announce(QStringLiteral("Two"));

    const std::vector<QString> expected{"shown: One", "hidden", "shown: One", "hidden", "shown: Two"};
    EXPECT_EQ(screenReader.seen, expected);
}

TEST(Announcer, SaysNothingWhileItsWindowIsHiddenNorAgainWhenItReopens) {
    QWidget window;
    window.show();
    Announcer announcer(window);
    Appearances screenReader(&announcer);

    announcer.announce(QStringLiteral("Before"));
    window.hide();
    announcer.announce(QStringLiteral("While hidden"));
    window.show();

    const std::vector<QString> expected{"shown: Before", "hidden"};
    EXPECT_EQ(screenReader.seen, expected);
}

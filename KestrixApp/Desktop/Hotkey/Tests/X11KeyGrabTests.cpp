#include <QSignalSpy>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Hotkey/X11KeyGrab.h"
#include "KestrixApp/TestSupport/X11Desktop.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace {

using kestrix::desktop::X11KeyGrab;

class X11KeyGrabOnXvfb : public testing::Test {
protected:
    void SetUp() override {
        if (!server_.problem().empty()) GTEST_SKIP() << server_.problem();
    }
    QString display() const { return QString::fromStdString(server_.display()); }
    bool press(const std::string& keys) const {
        return kestrix::test::runQuietly("DISPLAY=" + server_.display() + " xdotool key " + keys);
    }

    kestrix::desktop::test::X11Desktop server_;
};

TEST_F(X11KeyGrabOnXvfb, ThePressedKeyReachesTheGrabWithAnyLockKeyOn) {
    X11KeyGrab hotkey(display());
    ASSERT_TRUE(hotkey.isAvailable());
    ASSERT_TRUE(hotkey.grab());
    QSignalSpy presses(&hotkey, &X11KeyGrab::pressed);
    ASSERT_TRUE(press("ctrl+alt+super+e"));
    ASSERT_TRUE(presses.wait(3000));
    ASSERT_TRUE(press("ctrl+alt+e"));
    EXPECT_FALSE(presses.wait(300)) << "without Super it is not the hotkey";
    ASSERT_TRUE(press("Caps_Lock ctrl+alt+super+e Caps_Lock"));
    EXPECT_TRUE(presses.wait(3000)) << "Caps Lock on";
}

TEST_F(X11KeyGrabOnXvfb, ReleasingAndGrabbingAgainLeavesExactlyOneGrab) {
    X11KeyGrab hotkey(display());
    X11KeyGrab otherClient(display());
    ASSERT_TRUE(hotkey.grab());
    hotkey.release();
    ASSERT_TRUE(hotkey.grab());
    EXPECT_FALSE(otherClient.grab()) << "the key is ours while the setting is on";
    hotkey.release();
    EXPECT_TRUE(otherClient.grab()) << "and nobody's once it is off";
    EXPECT_FALSE(hotkey.grab());
    EXPECT_FALSE(hotkey.isGrabbed());
}

TEST(X11KeyGrab, WithoutAnXServerItIsUnavailable) {
    X11KeyGrab hotkey(":999999");
    EXPECT_FALSE(hotkey.isAvailable());
    EXPECT_FALSE(hotkey.grab());
}

}  // namespace

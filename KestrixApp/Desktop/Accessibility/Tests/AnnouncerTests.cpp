#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include <utility>
#include <vector>

#include "KestrixApp/Desktop/Accessibility/Announcer.h"

using kestrix::desktop::Announcer;

namespace {

// The accessibility events posted for the announcer while this is alive.
std::vector<std::pair<QAccessible::Event, QString>>* heard = nullptr;
QObject* listenedTo = nullptr;

void record(QAccessibleEvent* event) {
    if (heard == nullptr || event->object() != listenedTo) return;
    QAccessibleInterface* interface = event->accessibleInterface();
    heard->emplace_back(event->type(), interface != nullptr ? interface->text(QAccessible::Name) : QString());
}

class ScreenReaderListening {
public:
    explicit ScreenReaderListening(QObject* announcer) {
        heard = &events;
        listenedTo = announcer;
        QAccessible::setActive(true);
        previous = QAccessible::installUpdateHandler(record);
    }
    ~ScreenReaderListening() {
        QAccessible::installUpdateHandler(previous);
        heard = nullptr;
        listenedTo = nullptr;
    }
    std::vector<std::pair<QAccessible::Event, QString>> events;

private:
    QAccessible::UpdateHandler previous = nullptr;
};

}  // namespace

TEST(Announcer, IsANotificationNamedWithTheLastSentence) {
    QWidget window;
    window.show();
    Announcer announcer(&window);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&announcer);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Notification);
    EXPECT_TRUE(accessible->state().invisible) << "nothing is announced before the first sentence";

    announcer.announce(QStringLiteral("The first sentence."));
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("The first sentence."));
    EXPECT_FALSE(accessible->state().invisible);
    EXPECT_FALSE(accessible->state().focusable);
}

TEST(Announcer, ShowsAfreshForEverySentenceEvenARepeatedOne) {
    QWidget window;
    window.show();
    Announcer announcer(&window);
    ScreenReaderListening screenReader(&announcer);

    announcer.announce(QStringLiteral("One"));
    announcer.announce(QStringLiteral("One"));

    using Heard = std::pair<QAccessible::Event, QString>;
    const std::vector<Heard> expected{
        {QAccessible::NameChanged, "One"}, {QAccessible::ObjectShow, "One"}, {QAccessible::ObjectHide, "One"},
        {QAccessible::NameChanged, "One"}, {QAccessible::ObjectShow, "One"}};
    EXPECT_EQ(screenReader.events, expected);
}

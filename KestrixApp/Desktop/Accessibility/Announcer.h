#pragma once

#include <QString>
#include <QWidget>

namespace kestrix::desktop {

// Speaks a sentence through the screen reader without moving the focus. Qt 6.4 has no
// announcement call, but screen readers speak an accessible object with the notification role
// when it becomes showing; so this is a one-pixel, unpainted child of a window of the app whose
// accessible name is the sentence, hidden and shown again for each announcement.
class Announcer : public QWidget {
    Q_OBJECT

public:
    // Announcements are heard while host is shown; a sentence made while it is hidden is dropped,
    // and none is repeated when it shows again.
    explicit Announcer(QWidget& host);

    void announce(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kestrix::desktop

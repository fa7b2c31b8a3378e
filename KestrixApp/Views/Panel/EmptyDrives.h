#pragma once

#include <QWidget>

class QLabel;

namespace kestrix {
class AppModel;
}

namespace kestrix::views {

// What the panel and the main window show when no drive is listed.
class EmptyDrives : public QWidget {
    Q_OBJECT
public:
    EmptyDrives(AppModel& model, bool compact, QWidget* parent = nullptr);

private:
    void updateHint();

    AppModel& model_;
    QLabel* hint_;
};

}  // namespace kestrix::views

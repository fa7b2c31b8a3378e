#pragma once

#include <QLabel>
#include <QString>

namespace kestrix {
class AppModel;
}

namespace kestrix::shell {

// What a window shows until its own view is built: the listed drives and how each is doing.
class DrivesPlaceholder : public QLabel {
    Q_OBJECT
public:
    DrivesPlaceholder(AppModel& model, const QString& windowId, QWidget* parent = nullptr);

private:
    void update();

    AppModel& model_;
};

}  // namespace kestrix::shell

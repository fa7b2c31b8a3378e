#pragma once

#include <QWidget>

#include "KestrixKit/Flow/DriveReport.h"

namespace kestrix::views {

// One eject result: a check mark when the drive came off, a warning when it did not, and the
// report's sentence.
class ResultRow : public QWidget {
    Q_OBJECT
public:
    explicit ResultRow(const DriveReport& report, QWidget* parent = nullptr);
};

}  // namespace kestrix::views

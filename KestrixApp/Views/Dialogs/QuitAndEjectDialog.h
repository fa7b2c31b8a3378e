#pragma once

#include <QDialog>
#include <cstdint>
#include <set>
#include <vector>

#include "KestrixApp/Views/Dialogs/Questions.h"

class QCheckBox;

namespace kestrix::views {

// Asks before quitting a drive's apps, with a checkbox for each command-line program that may
// be ended. Return answers "Quit and Eject", Escape "Cancel".
class QuitAndEjectDialog : public QDialog {
    Q_OBJECT
public:
    QuitAndEjectDialog(const QuitQuestion& question, QWidget* parent = nullptr);

    const std::vector<QCheckBox*>& programBoxes() const { return boxes_; }
    // The pids of the ticked programs.
    std::set<std::int32_t> tickedPids() const;

private:
    std::vector<QCheckBox*> boxes_;
    std::vector<std::int32_t> pids_;
};

}  // namespace kestrix::views

#include "KestrixApp/Views/Dialogs/ConfirmationDialogsFactory.h"

#include <QMessageBox>
#include <QPushButton>

#include "KestrixApp/Views/ViewText.h"

namespace kestrix::views {

namespace {

// Interim questions: the history one as the app asks it; the card's three consequential steps
// answer Cancel until their own dialogs exist, so nothing is quit, forced or stopped unasked.
class InterimDialogs : public ConfirmationDialogs {
public:
    std::optional<std::set<std::int32_t>> confirmQuitAndEject(QWidget*, const Drive&,
                                                              const std::vector<Holder>&) override {
        return std::nullopt;
    }
    bool confirmForceEject(QWidget*, const Drive&) override { return false; }
    bool confirmStopBackup(QWidget*, const Drive&) override { return false; }

    bool confirmClearHistory(QWidget* parent) override {
        QMessageBox box(parent);
        box.setIcon(QMessageBox::Warning);
        box.setText(text("Clear the eject history?"));
        box.setInformativeText(text("The list of ejects and what blocked them is deleted from this Mac."));
        QPushButton* clear = box.addButton(text("Clear History"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(text("Cancel"), QMessageBox::RejectRole);
        box.setDefaultButton(cancel);
        box.exec();
        return box.clickedButton() == clear;
    }
};

}  // namespace

std::unique_ptr<ConfirmationDialogs> makeConfirmationDialogs() { return std::make_unique<InterimDialogs>(); }

}  // namespace kestrix::views

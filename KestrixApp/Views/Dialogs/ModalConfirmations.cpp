#include "KestrixApp/Views/Dialogs/ModalConfirmations.h"

#include <QPointer>

#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"
#include "KestrixApp/Views/Dialogs/QuitAndEjectDialog.h"

namespace kestrix::views {
namespace {

// Runs the dialog modally in front of everything. The dialog may go with its parent while it
// runs (a card rebuilt under it): that counts as no answer.
bool runModal(QDialog* dialog) {
    QPointer<QDialog> running(dialog);
    dialog->raise();
    dialog->activateWindow();
    dialog->exec();
    return !running.isNull();
}

bool confirmed(GuardedQuestion question) {
    QPointer<QMessageBox> box(question.box);
    if (!runModal(question.box)) return false;
    const bool yes = box->clickedButton() == question.confirm;
    delete box;
    return yes;
}

}  // namespace

std::optional<std::set<std::int32_t>> ModalConfirmations::confirmQuitAndEject(QWidget* parent, const Drive& drive,
                                                                               const std::vector<Holder>& holders,
                                                                               std::uint32_t currentUID) {
    QPointer<QuitAndEjectDialog> dialog(new QuitAndEjectDialog(quitQuestion(drive, holders, currentUID), parent));
    if (!runModal(dialog)) return std::nullopt;
    std::optional<std::set<std::int32_t>> answer;
    if (dialog->result() == QDialog::Accepted) answer = dialog->tickedPids();
    delete dialog;
    return answer;
}

bool ModalConfirmations::confirmForceEject(QWidget* parent, const Drive& drive, const std::vector<Holder>& holders) {
    return confirmed(forceEjectBox(forceEjectQuestion(drive, holders), parent));
}

bool ModalConfirmations::confirmStopBackup(QWidget* parent, const Drive& drive) {
    return confirmed(stopBackupBox(stopBackupQuestion(drive), parent));
}

bool ModalConfirmations::confirmClearHistory(QWidget* parent) {
    return confirmed(clearHistoryBox(clearHistoryQuestion(), parent));
}

}  // namespace kestrix::views

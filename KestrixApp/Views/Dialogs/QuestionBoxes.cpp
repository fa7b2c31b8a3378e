#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"

#include <QPushButton>

#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {
namespace {

GuardedQuestion guardedBox(const Question& question, QMessageBox::Icon icon, std::string_view confirmTitle,
                           QMessageBox::ButtonRole confirmRole, QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setIcon(icon);
    box->setWindowTitle(QStringLiteral("Kestrix"));
    box->setTextFormat(Qt::PlainText);
    box->setText(shownText(question.message));
    box->setInformativeText(shownText(question.informative));
    QPushButton* cancel = box->addButton(QString::fromStdString(localized("Cancel")), QMessageBox::RejectRole);
    QPushButton* confirm = box->addButton(QString::fromStdString(localized(confirmTitle)), confirmRole);
    // Reached by Tab and Space only: focusing it must not make it the button Return presses.
    confirm->setAutoDefault(false);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    return {box, confirm};
}

}  // namespace

GuardedQuestion forceEjectBox(const Question& question, QWidget* parent) {
    return guardedBox(question, QMessageBox::Critical, "Force Eject", QMessageBox::DestructiveRole, parent);
}

GuardedQuestion stopBackupBox(const Question& question, QWidget* parent) {
    return guardedBox(question, QMessageBox::Warning, "Stop Backup", QMessageBox::AcceptRole, parent);
}

GuardedQuestion clearHistoryBox(const Question& question, QWidget* parent) {
    return guardedBox(question, QMessageBox::Warning, "Clear History", QMessageBox::DestructiveRole, parent);
}

}  // namespace kestrix::views

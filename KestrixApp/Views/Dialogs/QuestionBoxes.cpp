#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"

#include <QGridLayout>
#include <QLabel>
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
    box->setInformativeText(shownParagraphs(question.paragraphs));
    // The informative text carries names from outside: never read it as markup.
    if (auto* informative = box->findChild<QLabel*>("qt_msgbox_informativelabel")) {
        informative->setTextFormat(Qt::PlainText);
    }
    QPushButton* cancel = box->addButton(QString::fromStdString(localized("Cancel")), QMessageBox::RejectRole);
    QPushButton* confirm = box->addButton(QString::fromStdString(localized(confirmTitle)), confirmRole);
    // Reached by Tab and Space only: focusing it must not make it the button Return presses.
    confirm->setAutoDefault(false);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    widenToQuestionWidth(box);
    return {box, confirm};
}

}  // namespace

void widenToQuestionWidth(QMessageBox* box) {
    // A message box is as narrow as its message; a strut under its rows holds it open.
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (grid == nullptr) return;
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(questionWidth - margins.left() - margins.right(), 0, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

QString shownParagraphs(const std::vector<std::string>& paragraphs) {
    QStringList shown;
    for (const std::string& paragraph : paragraphs) shown << shownText(paragraph);
    return shown.join("\n\n");
}

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

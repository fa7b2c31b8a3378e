#pragma once

#include <QMessageBox>

#include "KestrixApp/Views/Dialogs/Questions.h"

namespace kestrix::views {

// A question whose answer cannot be undone: "Cancel" is the default, so Return never confirms,
// and the confirming button (the destructive role where it deletes or damages) takes no key.
// Its answer is yes when clickedButton() is the confirming one.
// The paragraphs as one text, each made safe to show on its own so that the blank lines
// between them stay the only line breaks.
QString shownParagraphs(const std::vector<std::string>& paragraphs);

// How wide a question is: a sentence keeps its words whole.
inline constexpr int questionWidth = 400;

// Makes a message box about questionWidth wide, whatever its shortest line.
void widenToQuestionWidth(QMessageBox* box);

struct GuardedQuestion {
    QMessageBox* box;
    QAbstractButton* confirm;
};

GuardedQuestion forceEjectBox(const Question& question, QWidget* parent);
GuardedQuestion stopBackupBox(const Question& question, QWidget* parent);
GuardedQuestion clearHistoryBox(const Question& question, QWidget* parent);

}  // namespace kestrix::views

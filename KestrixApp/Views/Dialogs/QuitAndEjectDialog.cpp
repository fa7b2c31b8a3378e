#include "KestrixApp/Views/Dialogs/QuitAndEjectDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {
namespace {

constexpr int accessoryWidth = 320;
constexpr int rowHeight = 22;
// Wide enough that a sentence keeps its words whole.
constexpr int textWidth = questionWidth - 2 * 12;

}  // namespace

QuitAndEjectDialog::QuitAndEjectDialog(const QuitQuestion& question, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Kestrix"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    // As large as its words at that width: a question is answered, not resized or maximised.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* message = plainLabel(question.text.message, TextStyle::headline, this);
    message->setWordWrap(true);
    message->setFixedWidth(textWidth);
    layout->addWidget(message);
    if (!question.text.paragraphs.empty()) {
        auto* informative = plainLabel({}, TextStyle::body, this);
        informative->setText(shownParagraphs(question.text.paragraphs));
        informative->setWordWrap(true);
        informative->setFixedWidth(textWidth);
        layout->addWidget(informative);
    }
    if (!question.programs.empty()) {
        auto* accessory = new QWidget(this);
        accessory->setMinimumWidth(accessoryWidth);
        auto* boxes = new QVBoxLayout(accessory);
        boxes->setContentsMargins(0, 0, 0, 0);
        boxes->setSpacing(0);
        for (const ProgramChoice& program : question.programs) {
            auto* box = new QCheckBox(shownText(program.title), accessory);
            box->setMinimumHeight(rowHeight);
            box->setChecked(program.ticked);
            boxes->addWidget(box);
            boxes_.push_back(box);
            pids_.push_back(program.pid);
        }
        layout->addWidget(accessory);
    }
    auto* buttons = new QDialogButtonBox(this);
    auto* quit = buttons->addButton(QString::fromStdString(localized("Quit and Eject")), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QString::fromStdString(localized("Cancel")), QDialogButtonBox::RejectRole);
    // Return answers "Quit and Eject" whichever button the desktop's order puts first and
    // gives the focus: a focused Cancel must not take Return over.
    cancel->setAutoDefault(false);
    quit->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::set<std::int32_t> QuitAndEjectDialog::tickedPids() const {
    std::set<std::int32_t> ticked;
    for (std::size_t index = 0; index < boxes_.size(); ++index) {
        if (boxes_[index]->isChecked()) ticked.insert(pids_[index]);
    }
    return ticked;
}

}  // namespace kestrix::views

#include "KestrixApp/Shell/DrivesPlaceholder.h"

#include "KestrixApp/Model/AppModel.h"

namespace kestrix::shell {

DrivesPlaceholder::DrivesPlaceholder(AppModel& model, const QString& windowId, QWidget* parent)
    : QLabel(parent), model_(model) {
    setObjectName(windowId);
    // Drive names come from outside: never read as markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignTop | Qt::AlignLeft);
    setMargin(16);
    connect(&model_, &AppModel::drivesChanged, this, &DrivesPlaceholder::update);
    connect(&model_, &AppModel::driveStateChanged, this, &DrivesPlaceholder::update);
    update();
}

void DrivesPlaceholder::update() {
    QString text;
    for (const auto& drive : model_.drives()) {
        const bool needsYou = model_.display(drive.id).needsAttention();
        text += QString::fromStdString(drive.name()) + (needsYou ? "  •" : "") + "\n";
    }
    setText(text.isEmpty() ? "Kestrix" : text);
}

}  // namespace kestrix::shell

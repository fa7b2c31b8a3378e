#include "KestrixApp/Views/Cards/DriveCard.h"

#include <QLabel>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"

namespace kestrix::views {

// Shows the drive's name only; the card with its states, holders and actions replaces it.
DriveCard::DriveCard(ViewContext& context, std::string driveId, bool compact, QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(this);
    name->setTextFormat(Qt::PlainText);
    for (const Drive& drive : context.model.drives()) {
        if (drive.id == driveId) name->setText(QString::fromStdString(drive.name()));
    }
    layout->addWidget(name);
    setMinimumHeight(compact ? 48 : 72);
}

}  // namespace kestrix::views

#include "KestrixApp/Views/MainWindow/DrivesPage.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Cards/DriveCard.h"
#include "KestrixApp/Views/Cards/DriveCards.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/MainWindow/ResultRow.h"
#include "KestrixApp/Views/MainWindow/ScrollingColumn.h"
#include "KestrixApp/Views/MainWindow/Section.h"
#include "KestrixApp/Views/MainWindow/Tile.h"
#include "KestrixApp/Views/Panel/EmptyDrives.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixApp/Views/ViewText.h"

namespace kestrix::views {

DrivesPage::DrivesPage(ViewContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    QVBoxLayout* column = scrollingColumn(this);
    const QColor secondary = secondaryTextColor(palette());
    const QColor accent = palette().color(QPalette::Highlight);

    empty_ = new EmptyDrives(context_.model, false, this);
    column->addWidget(empty_);

    tiles_ = new QWidget(this);
    auto* tileRow = new QHBoxLayout(tiles_);
    tileRow->setContentsMargins(0, 0, 0, 0);
    tileRow->setSpacing(12);
    connected_ = new Tile(text("Connected"), "externaldrive.fill", accent, tiles_);
    needYou_ = new Tile(text("Need you"), "exclamationmark.triangle.fill", tint::orange, tiles_);
    ready_ = new Tile(textIn("drive count", "Ready"), "checkmark.circle.fill", tint::green, tiles_);
    ejected_ = new Tile(text("Ejected this session"), "eject.fill", secondary, tiles_);
    for (Tile* tile : {connected_, needYou_, ready_, ejected_}) tileRow->addWidget(tile, 1);
    column->addWidget(tiles_);

    needsYouSection_ = new Section(text("Needs you"), "exclamationmark.triangle.fill", tint::orange, this);
    needsYouSection_->setObjectName("needsYouSection");
    readySection_ = new Section(text("Ready to eject"), "checkmark.circle.fill", tint::green, this);
    readySection_->setObjectName("readySection");
    lastEjectAllSection_ = new Section(text("Last Eject All"), "list.bullet.rectangle", tint::blue, this);
    lastEjectAllSection_->setObjectName("lastEjectAllSection");
    ejectedSection_ = new Section(text("Ejected"), "eject.circle.fill", secondary, this);
    ejectedSection_->setObjectName("ejectedSection");
    for (Section* section : {needsYouSection_, readySection_, lastEjectAllSection_, ejectedSection_})
        column->addWidget(section);
    column->addStretch();

    AppModel& model = context_.model;
    connect(&model, &AppModel::drivesChanged, this, &DrivesPage::updateDrives);
    connect(&model, &AppModel::driveStateChanged, this, &DrivesPage::updateDrives);
    connect(&model, &AppModel::recentChanged, this, &DrivesPage::updateResults);
    connect(&model, &AppModel::allResultsChanged, this, &DrivesPage::updateResults);
    updateDrives();
    updateResults();
}

void DrivesPage::updateDrives() {
    const AppModel& model = context_.model;
    const std::vector<Drive>& drives = model.drives();

    updateDriveCards(cards_, drives, [this](const Drive& drive) { return new DriveCard(context_, drive.id, false, this); });
    std::vector<std::pair<std::string, bool>> placement;
    int needYou = 0;
    for (const Drive& drive : drives) {
        const bool needsYou = model.display(drive.id).needsAttention();
        needYou += needsYou ? 1 : 0;
        placement.emplace_back(drive.id, needsYou);
    }

    // Moving a card between sections only when its place changed keeps the keyboard focus on it.
    if (placement != placement_) {
        for (const auto& [id, needsYou] : placement) {
            DriveCard* card = cards_[id];
            needsYouSection_->rows()->removeWidget(card);
            readySection_->rows()->removeWidget(card);
            (needsYou ? needsYouSection_ : readySection_)->rows()->addWidget(card);
        }
        placement_ = std::move(placement);
    }
    const int total = static_cast<int>(drives.size());
    needsYouSection_->setCount(needYou);
    readySection_->setCount(total - needYou);
    connected_->setValue(total);
    needYou_->setValue(needYou);
    ready_->setValue(total - needYou);
    empty_->setVisible(drives.empty());
    tiles_->setVisible(!drives.empty());
    showResults();
}

void DrivesPage::updateResults() {
    const AppModel& model = context_.model;
    lastEjectAllSection_->clear();
    for (const DriveReport& report : model.allResults())
        lastEjectAllSection_->rows()->addWidget(new ResultRow(report, lastEjectAllSection_));
    lastEjectAllSection_->setCount(static_cast<int>(model.allResults().size()));
    ejectedSection_->clear();
    for (const DriveReport& report : model.recent())
        ejectedSection_->rows()->addWidget(new ResultRow(report, ejectedSection_));
    ejectedSection_->setCount(static_cast<int>(model.recent().size()));
    ejected_->setValue(static_cast<int>(model.recent().size()));
    showResults();
}

void DrivesPage::showResults() {
    // With no drive listed the page is the empty view alone; the results stay in the history.
    const AppModel& model = context_.model;
    const bool listed = !model.drives().empty();
    lastEjectAllSection_->setVisible(listed && !model.allResults().empty());
    ejectedSection_->setVisible(listed && !model.recent().empty());
}

}  // namespace kestrix::views

#include "KestrixApp/Views/Panel/EmptyDrives.h"

#include <QLabel>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixApp/Views/ViewText.h"

namespace kestrix::views {

EmptyDrives::EmptyDrives(AppModel& model, bool compact, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("emptyDrives");
    // Centred by stretches and by each line's own alignment, never by the layout's: a layout
    // that aligns its items gives them their preferred size, and wrapped lines are then cut.
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->setContentsMargins(16, compact ? 16 : 40, 16, compact ? 16 : 40);

    const int side = compact ? 30 : 44;
    auto* symbol = new QLabel(this);
    symbol->setPixmap(symbolPixmap("externaldrive.badge.checkmark", side, secondaryTextColor(palette())));
    symbol->setAlignment(Qt::AlignCenter);
    layout->addStretch(1);
    layout->addWidget(symbol);

    auto* title = new QLabel(text("No external drives"), this);
    scaleFont(title, 1.1, true);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    layout->addWidget(title);

    auto* explanation = new QLabel(
        text("Plug in a drive, card or stick and it shows up here with what, if anything, is using it."), this);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignCenter);
    makeSecondary(explanation);
    layout->addWidget(explanation);

    hint_ = new QLabel(this);
    hint_->setObjectName("hiddenKindsHint");
    hint_->setWordWrap(true);
    hint_->setAlignment(Qt::AlignCenter);
    scaleFont(hint_, 0.85);
    makeSecondary(hint_);
    layout->addWidget(hint_);
    layout->addStretch(1);

    connect(&model_, &AppModel::showDiskImagesChanged, this, &EmptyDrives::updateHint);
    connect(&model_, &AppModel::showNetworkSharesChanged, this, &EmptyDrives::updateHint);
    updateHint();
}

void EmptyDrives::updateHint() {
    // Only what is hidden is named.
    const bool images = !model_.showDiskImages();
    const bool shares = !model_.showNetworkShares();
    if (images && shares) hint_->setText(text("Disk images and network shares are hidden; turn them on in Settings."));
    else if (images) hint_->setText(text("Disk images are hidden; turn them on in Settings."));
    else if (shares) hint_->setText(text("Network shares are hidden; turn them on in Settings."));
    hint_->setVisible(images || shares);
}

}  // namespace kestrix::views

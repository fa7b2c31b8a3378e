#include "KestrixApp/Views/Cards/DriveCard.h"

#include "KestrixApp/Views/Style/ColourContrast.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Cards/ActionButton.h"
#include "KestrixApp/Views/Cards/CardTexts.h"
#include "KestrixApp/Views/Cards/Chip.h"
#include "KestrixApp/Views/Cards/ElidedLabel.h"
#include "KestrixApp/Views/Cards/HolderRow.h"
#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixKit/Ejection/FlushText.h"
#include "KestrixKit/Holders/KernelHolderText.h"
#include "KestrixKit/Holders/KernelRemedy.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::views {
namespace {

// The drive's symbol in white on a rounded square of the accent colour.
class DriveBadge : public QWidget {
public:
    DriveBadge(std::string_view symbol, bool compact, QWidget* parent)
        : QWidget(parent), icon_(symbolIcon(symbol, Qt::white)), glyph_(compact ? 18 : 22) {
        const int side = compact ? 34 : 40;
        setFixedSize(side, side);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor accent = palette().color(QPalette::Highlight);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, accent.lighter(125));
        gradient.setColorAt(1, accent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawRoundedRect(QRectF(rect()), 8, 8);
        const QPixmap glyph = icon_.pixmap(glyph_, glyph_);
        if (!glyph.isNull()) painter.drawPixmap((width() - glyph_) / 2, (height() - glyph_) / 2, glyph);
    }

private:
    QIcon icon_;
    int glyph_;
};

std::optional<Drive> listedDrive(const AppModel& model, const std::string& id) {
    const auto& drives = model.drives();
    const auto found = std::find_if(drives.begin(), drives.end(), [&](const Drive& drive) { return drive.id == id; });
    if (found == drives.end()) return std::nullopt;
    return *found;
}

QHBoxLayout* row(int spacing) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(spacing);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

}  // namespace

DriveCard::DriveCard(ViewContext& context, std::string driveId, bool compact, QWidget* parent)
    : Card(Tint::green, parent), context_(context), driveId_(std::move(driveId)), compact_(compact) {
    drive_.id = driveId_;
    connect(&context_.model, &AppModel::driveStateChanged, this, [this](const QString& id) {
        if (id.toStdString() == driveId_) followModel();
    });
    connect(&context_.model, &AppModel::drivesChanged, this, &DriveCard::followModel);
    followModel();
}

void DriveCard::followModel() {
    const auto listed = listedDrive(context_.model, driveId_);
    const bool driveChanged = listed && *listed != drive_;
    if (listed) drive_ = *listed;
    const DriveDisplay display = context_.model.display(driveId_);
    const DriveState state = context_.model.state(driveId_);
    if (!driveChanged && shownDisplay_ == display && shownNote_ == state.note && shownFlush_ == state.flush) return;
    shownDisplay_ = display;
    shownNote_ = state.note;
    shownFlush_ = state.flush;
    rebuild();
}

void DriveCard::rebuild() {
    const DriveDisplay& display = *shownDisplay_;
    const ChipLook look = chipLook(display);
    setTint(look.tint);
    setAccessibleName(shownText(cardAccessibleName(drive_, display)));

    // A button of the old content may be the one whose click led here: it goes once that
    // click is handled.
    if (body_) {
        body_->hide();
        body_->deleteLater();
    }
    body_ = new QWidget(this);
    auto* layout = new QVBoxLayout(body_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(header(body_));
    addDetail(body_, display);
    if (shownFlush_) {
        // While the kernel writes, the drive must stay plugged in: the one thing to say.
        auto* flushing = plainLabel(flushMessage(drive_.name(), *shownFlush_), TextStyle::callout, body_, false);
        flushing->setObjectName("flushing");
        flushing->setWordWrap(true);
        layout->addWidget(flushing);
    }
    if (shownNote_) {
        auto* note = row(6);
        auto* icon = new QLabel(body_);
        icon->setPixmap(symbolPixmap("info.circle", 14, secondaryTextColor(icon->palette())));
        note->addWidget(icon, 0, Qt::AlignTop);
        auto* text = plainLabel(*shownNote_, TextStyle::callout, body_, true);
        text->setWordWrap(true);
        note->addWidget(text, 1);
        layout->addLayout(note);
    }
    addActions(body_, display);
    content()->addWidget(body_);
    // Now rather than on the next turn of the event loop, so that what is on screen and what
    // assistive technologies read always agree with the model.
    body_->show();
}

QWidget* DriveCard::header(QWidget* parent) const {
    auto* header = new QWidget(parent);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(new DriveBadge(driveSymbol(drive_), compact_, header), 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(1);
    const std::string name = drive_.volumes.empty() ? drive_.id : drive_.name();
    auto* title = new ElidedLabel(shownText(name), header);
    title->setFont(styledFont(TextStyle::headline, title->font()));
    title->setObjectName("driveName");
    titles->addWidget(title);
    if (!drive_.volumes.empty()) {
        // Cut like the name: a long status chip in a narrow panel must stay whole beside it.
        auto* subtitle = new ElidedLabel(shownText(driveSubtitle(drive_)), header);
        subtitle->setFont(styledFont(TextStyle::caption, subtitle->font()));
        subtitle->setPalette(secondaryPalette(subtitle->palette()));
        subtitle->setObjectName("driveSubtitle");
        titles->addWidget(subtitle);
    }
    layout->addLayout(titles, 1);
    auto* chip = new Chip(chipLook(*shownDisplay_), header);
    layout->addWidget(chip, 0, Qt::AlignTop);
    return header;
}

void DriveCard::addDetail(QWidget* body, const DriveDisplay& display) const {
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    static_cast<QVBoxLayout*>(body->layout())->addLayout(layout);
    for (const DetailLine& line : detailLines(display)) {
        auto* label = plainLabel(line.text, line.small ? TextStyle::caption : TextStyle::callout, body, line.secondary);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    const std::vector<Holder> holders = listedHolders(display);
    const std::size_t shown = std::min(holders.size(), holderRowLimit(compact_));
    for (std::size_t index = 0; index < shown; ++index) {
        layout->addWidget(new HolderRow(context_, holders[index], compact_, body));
    }
    if (compact_ && holders.size() > shown) {
        auto* more = new ActionButton(moreHoldersText(holders.size() - shown), {}, body);
        more->setObjectName("moreHolders");
        more->setFlat(true);
        more->setFont(styledFont(TextStyle::caption, more->font()));
        QPalette colours = more->palette();
        colours.setColor(QPalette::ButtonText,
                         readableOn(colours.color(QPalette::Link), colours.color(QPalette::Window), bodyTextContrast));
        more->setPalette(colours);
        more->setCursor(Qt::PointingHandCursor);
        connect(more, &QPushButton::clicked, this, [&context = context_] {
            context.model.setMainPage("drives");
            if (context.shell.openWindow) context.shell.openWindow("main");
        });
        layout->addWidget(more, 0, Qt::AlignLeft);
    }
}

void DriveCard::addActions(QWidget* body, const DriveDisplay& display) {
    auto* actions = row(8);
    static_cast<QVBoxLayout*>(body->layout())->addLayout(actions);
    const Drive drive = drive_;
    AppModel& model = context_.model;
    const auto name = drive.name();

    if (display.is<DriveDisplay::Ready>()) {
        auto* eject = new ActionButton(localized("Eject"), "eject.fill", body);
        eject->setDefault(true);
        eject->setAccessibleName(shownText(localizedFormat("Eject %1", {name})));
        connect(eject, &QPushButton::clicked, this, [&model, drive] { model.eject(drive, false, false); });
        actions->addWidget(eject);
    } else if (const Busy* busy = display.as<Busy>()) {
        auto* progress = new QProgressBar(body);
        progress->setRange(0, 0);
        progress->setMaximumWidth(compact_ ? 80 : 120);
        progress->setMaximumHeight(8);
        progress->setTextVisible(false);
        progress->setAccessibleName(QString::fromStdString(label(*busy)));
        actions->addWidget(progress);
        if (*busy == Busy::waitingForBackup) {
            auto* stop = new ActionButton(localized("Stop Waiting"), {}, body);
            connect(stop, &QPushButton::clicked, this, [&model, drive] { model.stopWaiting(drive); });
            actions->addWidget(stop);
        }
    } else if (const auto* backup = display.as<DriveDisplay::Backup>()) {
        auto* wait = new ActionButton(localized("Wait, Then Eject"), {}, body);
        connect(wait, &QPushButton::clicked, this, [&model, drive] { model.waitForBackup(drive); });
        actions->addWidget(wait);
        // A tool that Kestrix can't stop cleanly: the card says how to stop it there instead.
        if (backup->status.stoppable) {
            auto* stop = new ActionButton(localized("Stop Backup…"), {}, body);
            connect(stop, &QPushButton::clicked, this, [this, &model, drive] {
                if (context_.dialogs.confirmStopBackup(this, drive)) model.stopBackup(drive);
            });
            actions->addWidget(stop);
        }
    } else {
        const std::vector<Holder> holders = actionHolders(display);
        if (!display.is<DriveDisplay::Failed>() && offersQuitAndEject(holders, model.currentUID())) {
            auto* quit = new ActionButton(localized("Quit and Eject"), "eject.fill", body);
            quit->setDefault(true);
            quit->setToolTip(QString::fromStdString(
                localized("Ask these apps to quit (they can ask you to save), then eject.")));
            connect(quit, &QPushButton::clicked, this, [this, &model, drive, holders] {
                const auto ended = context_.dialogs.confirmQuitAndEject(this, drive, holders, model.currentUID());
                if (ended) model.quitAndEject(drive, holders, *ended);
            });
            actions->addWidget(quit);
        }
        // What the kernel holds the drive with, where the app can let go of it itself.
        for (const KernelHolder& holder : remedyKernelHolders(display)) {
            auto* release = new ActionButton(KernelHolderText::remedyTitle(holder, *kernelRemedy(holder)), {}, body);
            release->setObjectName("kernelRemedy");
            connect(release, &QPushButton::clicked, this, [&model, drive, holder] { model.releaseKernelHolder(drive, holder); });
            actions->addWidget(release);
        }
        auto* retry = new ActionButton(localized("Try Again"), "arrow.clockwise", body);
        retry->setAccessibleName(shownText(localizedFormat("Try ejecting %1 again", {name})));
        connect(retry, &QPushButton::clicked, this, [&model, drive] { model.eject(drive, false, false); });
        actions->addWidget(retry);
        actions->addWidget(moreMenuButton(body, holders));
    }
    actions->addStretch();
    if (compact_) {
        for (auto* button : body->findChildren<ActionButton*>(Qt::FindDirectChildrenOnly)) {
            button->setFont(styledFont(TextStyle::callout, button->font()));
        }
    }
}

QWidget* DriveCard::moreMenuButton(QWidget* parent, const std::vector<Holder>& holders) {
    auto* more = new ActionButton({}, "ellipsis.circle", parent);
    more->setObjectName("moreMenu");
    more->setFlat(true);
    hideMenuArrow(more);
    more->setAccessibleName(shownText(localizedFormat("More for %1", {drive_.name()})));
    auto* menu = new QMenu(more);
    AppModel& model = context_.model;
    const Drive drive = drive_;
    menu->addAction(QString::fromStdString(localized("Force Eject…")), this, [this, &model, drive, holders] {
        if (context_.dialogs.confirmForceEject(this, drive, holders)) model.eject(drive, true, false);
    });
    menu->addAction(QString::fromStdString(localized("Check Again")), this, [&model, drive] { model.check(drive); });
    more->setMenu(menu);
    return more;
}

}  // namespace kestrix::views

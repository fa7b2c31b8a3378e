#include "KestrixApp/Views/Panel/MenuPanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Cards/DriveCard.h"
#include "KestrixApp/Views/Cards/DriveCards.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Panel/CheckAgain.h"
#include "KestrixApp/Views/Panel/EmptyDrives.h"
#include "KestrixApp/Views/Panel/PanelText.h"
#include "KestrixApp/Views/Style/ColourContrast.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixApp/Views/ViewText.h"

namespace kestrix::views {

namespace {

QLabel* iconLabel(std::string_view symbol, int side, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(symbolPixmap(symbol, side, color));
    return label;
}

// A link-style button of the footer.
QPushButton* linkButton(const QString& title, QWidget* parent) {
    auto* button = keyboardButton(new QPushButton(title, parent));
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    // As wide as its words: a style's smallest button width would space the links unevenly.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(title) + 2 * 6);
    QPalette palette = button->palette();
    // Dark palettes often keep the light one's dark blue link colour: lightened until it reads.
    palette.setColor(QPalette::ButtonText,
                     readableOn(palette.color(QPalette::Link), palette.color(QPalette::Window), bodyTextContrast));
    button->setPalette(palette);
    return button;
}

}  // namespace

MenuPanel::MenuPanel(ViewContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    auto* layout = new QVBoxLayout(this);
    constexpr int margin = 14;
    layout->setContentsMargins(margin, 12, margin, 10);
    layout->setSpacing(10);
    // The panel is as high as what it shows, and always as wide.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    layout->addWidget(makeHeader());

    empty_ = new EmptyDrives(context_.model, true, this);
    layout->addWidget(empty_);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("driveList");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_ = new QWidget(scroll_);
    // As wide as the scroll area shows, never wider: a card that cannot fit elides its name.
    list_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    listLayout_ = new QVBoxLayout(list_);
    listLayout_->setContentsMargins(0, 0, 0, 0);
    listLayout_->setSpacing(8);
    list_->installEventFilter(this);
    scroll_->setWidget(list_);
    layout->addWidget(scroll_);

    lastEject_ = new QWidget(this);
    lastEject_->setObjectName("lastEjectLine");
    auto* lastEjectRow = new QHBoxLayout(lastEject_);
    lastEjectRow->setContentsMargins(0, 0, 0, 0);
    auto* check = new QLabel(lastEject_);
    check->setPixmap(symbolPixmap("checkmark.circle.fill", 16, tint::green));
    lastEjectRow->addWidget(check);
    lastEjectText_ = plainLabel({}, lastEject_);
    lastEjectText_->setWordWrap(true);
    setTextColor(lastEjectText_, readableOn(tint::green, palette().color(QPalette::Window), tintedTextContrast));
    lastEjectRow->addWidget(lastEjectText_, 1);
    layout->addWidget(lastEject_);

    ejectAll_ = keyboardButton(new QPushButton(this));
    ejectAll_->setObjectName("ejectAllButton");
    ejectAll_->setAccessibleDescription(text("Ejects every drive, one after another"));
    ejectAll_->setToolTip(text("Ejects every drive, one after another"));
    auto* ejectAllRow = new QHBoxLayout(ejectAll_);
    ejectAllRow->setContentsMargins(12, 6, 12, 6);
    ejectAllRow->addStretch();
    ejectAllRow->addWidget(iconLabel("eject.fill", 16, ejectAll_->palette().color(QPalette::ButtonText), ejectAll_));
    ejectAllTitle_ = new QLabel(ejectAll_);
    ejectAllRow->addWidget(ejectAllTitle_);
    ejectAllGlyphs_ = new QLabel(hotkeyGlyphs(), ejectAll_);
    makeSecondary(ejectAllGlyphs_);
    ejectAllRow->addWidget(ejectAllGlyphs_);
    ejectAllRow->addStretch();
    for (QLabel* part : ejectAll_->findChildren<QLabel*>()) part->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(ejectAll_, &QPushButton::clicked, this, [this] { context_.model.ejectAll(false); });
    layout->addWidget(ejectAll_);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    layout->addWidget(divider);
    layout->addWidget(makeFooter());
    for (int index = 0; index < layout->count(); ++index) {
        if (QWidget* part = layout->itemAt(index)->widget()) part->setFixedWidth(panelWidth - 2 * margin);
    }

    AppModel& model = context_.model;
    connect(&model, &AppModel::drivesChanged, this, &MenuPanel::updateDrives);
    connect(&model, &AppModel::attentionCountChanged, this, &MenuPanel::updateStatus);
    connect(&model, &AppModel::recentChanged, this, &MenuPanel::updateLastEject);
    connect(&model, &AppModel::driveStateChanged, this, &MenuPanel::updateLastEject);
    connect(&model, &AppModel::ejectingAllChanged, this, &MenuPanel::updateEjectAll);
    connect(&model, &AppModel::hotkeyEnabledChanged, this, &MenuPanel::updateEjectAll);
    connect(&model, &AppModel::hotkeyRegisteredChanged, this, &MenuPanel::updateEjectAll);
    updateDrives();
    updateEjectAll();
}

QWidget* MenuPanel::makeHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(iconLabel("eject.circle.fill", 28, header->palette().color(QPalette::Highlight), header));
    auto* titles = new QVBoxLayout();
    titles->setSpacing(0);
    auto* title = new QLabel("Kestrix", header);
    scaleFont(title, 1.15, true);
    titles->addWidget(title);
    status_ = new QLabel(header);
    status_->setObjectName("statusLine");
    makeSecondary(status_);
    titles->addWidget(status_);
    row->addLayout(titles, 1);
    auto* checkAgainButton = keyboardButton(new QPushButton(symbolIcon("arrow.clockwise", header->palette().color(QPalette::ButtonText)), {}, header));
    checkAgainButton->setObjectName("checkAgainButton");
    checkAgainButton->setFlat(true);
    checkAgainButton->setToolTip(text("Check the drives again"));
    checkAgainButton->setAccessibleName(text("Check Again"));
    checkAgainButton->setAccessibleDescription(text("Check the drives again"));
    connect(checkAgainButton, &QPushButton::clicked, this, [this] { checkAgain(context_.model); });
    row->addWidget(checkAgainButton);
    return header;
}

QWidget* MenuPanel::makeFooter() {
    auto* footer = new QWidget(this);
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    const auto opening = [this](const char* windowId) {
        return [this, windowId] {
            if (context_.shell.openWindow) context_.shell.openWindow(windowId);
        };
    };
    auto* open = linkButton(text("Open Kestrix"), footer);
    connect(open, &QPushButton::clicked, this, opening("main"));
    auto* settings = linkButton(text("Settings…"), footer);
    connect(settings, &QPushButton::clicked, this, opening("settings"));
    auto* help = linkButton(text("Help"), footer);
    connect(help, &QPushButton::clicked, this, opening("help"));
    for (QPushButton* button : {open, settings, help}) row->addWidget(button);
    row->addStretch();

    auto* more = keyboardButton(new QPushButton(symbolIcon("ellipsis.circle", footer->palette().color(QPalette::ButtonText)), {}, footer));
    more->setObjectName("moreButton");
    more->setFlat(true);
    hideMenuArrow(more);
    more->setAccessibleName(text("More"));
    more->setToolTip(text("More"));
    auto* menu = new QMenu(more);
    const ShellCommands& shell = context_.shell;
    if (shell.checkForUpdates) menu->addAction(text("Check for Updates…"), this, [this] { context_.shell.checkForUpdates(); });
    menu->addAction(text("About Kestrix"), this, [this] {
        if (context_.shell.showAbout) context_.shell.showAbout();
    });
    menu->addSeparator();
    menu->addAction(text("Quit Kestrix"), this, [this] {
        if (context_.shell.quit) context_.shell.quit();
    });
    more->setMenu(menu);
    row->addWidget(more);
    return footer;
}

void MenuPanel::updateDrives() {
    const std::vector<Drive>& drives = context_.model.drives();
    updateDriveCards(cards_, drives, [this](const Drive& drive) { return new DriveCard(context_, drive.id, true, list_); });
    // In list order, whatever order the cards were made in.
    for (const Drive& drive : drives) {
        listLayout_->removeWidget(cards_[drive.id]);
        listLayout_->addWidget(cards_[drive.id]);
    }
    empty_->setVisible(drives.empty());
    scroll_->setVisible(!drives.empty());
    fitList();
    updateStatus();
    updateLastEject();
}

void MenuPanel::updateStatus() {
    status_->setText(statusLine(context_.model.drives().size(), context_.model.attentionCount()));
}

void MenuPanel::updateLastEject() {
    const auto line = lastEjectLine(context_.model.recent(), context_.now());
    lastEjectText_->setText(line.value_or(QString()));
    lastEject_->setAccessibleName(line.value_or(QString()));
    lastEject_->setVisible(line.has_value());
}

void MenuPanel::updateEjectAll() {
    const QString title = context_.model.ejectingAll() ? text("Ejecting…") : text("Eject All");
    ejectAllTitle_->setText(title);
    ejectAll_->setAccessibleName(title);
    ejectAllGlyphs_->setVisible(context_.model.hotkeyEnabled() && context_.model.hotkeyRegistered());
    ejectAll_->setMinimumSize(ejectAll_->layout()->sizeHint());
}

void MenuPanel::setHeightLimit(int pixels) {
    if (pixels == heightLimit_) return;
    heightLimit_ = pixels;
    fitList();
}

void MenuPanel::fitList() {
    // The list grows with its cards up to the limit, then scrolls; and shrinks, down to one
    // card's worth, where the screen has no room for the rest of the panel. Cards whose lines
    // wrap are as high as their width makes them, not as their preferred size says.
    constexpr int smallestList = 80;
    int limit = listHeightLimit;
    if (!scroll_->isHidden() && heightLimit_ < QWIDGETSIZE_MAX) {
        const int rest = layout()->sizeHint().height() - scroll_->minimumHeight();
        limit = std::min(limit, std::max(smallestList, heightLimit_ - rest));
    }
    const int width = scroll_->width();
    const int wanted = listLayout_->hasHeightForWidth() ? listLayout_->totalHeightForWidth(width)
                                                        : listLayout_->totalSizeHint().height();
    scroll_->setFixedHeight(std::min(wanted, limit));
}
void MenuPanel::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Dropped from the tray it has no window frame: an outline keeps it apart from the window
    // behind it.
    if (windowType() != Qt::Popup) return;
    QColor outline = palette().color(QPalette::WindowText);
    outline.setAlphaF(0.35f);
    QPainter painter(this);
    painter.setPen(outline);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MenuPanel::showEvent(QShowEvent* event) {
    // The newest result ages while the panel is closed.
    updateLastEject();
    QWidget::showEvent(event);
}

bool MenuPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::LayoutRequest) fitList();
    return QWidget::eventFilter(watched, event);
}

}  // namespace kestrix::views

#include "KestrixApp/Views/MainWindow/HistoryPage.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/MainWindow/HistoryDate.h"
#include "KestrixApp/Views/MainWindow/ScrollingColumn.h"
#include "KestrixApp/Views/MainWindow/Section.h"
#include "KestrixApp/Views/MainWindow/Tile.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixApp/Views/ViewText.h"

namespace kestrix::views {

namespace {

QString iconName(HelperKind kind) {
    switch (kind) {
        case HelperKind::app: return "application-x-executable";
        case HelperKind::finder: return "system-file-manager";
        case HelperKind::quickLook: return "view-reveal-symbolic";
        case HelperKind::spotlight: return "system-search";
        case HelperKind::timeMachine: return "document-open-recent";
        case HelperKind::mediaAnalysis: return "image-x-generic";
        case HelperKind::diskCheck: return "drive-harddisk";
        case HelperKind::fileService: return "emblem-system";
        case HelperKind::cloudSync: return "emblem-synchronizing";
        case HelperKind::securityScan: return "security-medium";
        case HelperKind::shell: return "utilities-terminal";
        case HelperKind::commandLine: return "utilities-terminal";
    }
    return {};
}

QLabel* symbolLabel(const QPixmap& pixmap, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setFixedWidth(22);
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return label;
}

QWidget* offenderRow(const Offender& offender, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(symbolLabel(QIcon::fromTheme(iconName(offender.kind)).pixmap(18, 18), row));
    const QString name = QString::fromStdString(offender.name);
    layout->addWidget(plainLabel(name, row), 1);
    const QString times = QString::fromStdString(blockedTimesText(offender.count));
    auto* count = new QLabel(times, row);
    makeSecondary(count);
    layout->addWidget(count);
    row->setAccessibleName(name + ", " + times);
    return row;
}

QWidget* attemptRow(const HistoryEvent& event, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const bool blocked = event.wasBlocked();
    layout->addWidget(symbolLabel(blocked ? tintedSymbol("dialog-warning", 16, tint::orange)
                                          : tintedSymbol("emblem-default", 16, tint::green),
                                  row));
    auto* lines = new QVBoxLayout();
    lines->setSpacing(1);
    const QString drive = QString::fromStdString(event.driveName);
    auto* name = plainLabel(drive, row);
    scaleFont(name, 1.0, true);
    lines->addWidget(name);
    QString outcome = QString::fromStdString(label(event.outcome));
    if (!event.culprits.empty()) {
        QStringList culprits;
        for (const auto& culprit : event.culprits) culprits << QString::fromStdString(culprit.name);
        outcome += ": " + culprits.join(", ");
    }
    auto* what = plainLabel(outcome, row);
    what->setWordWrap(true);
    makeSecondary(what);
    lines->addWidget(what);
    const QString when = historyDate(event.date, textLocale());
    auto* date = new QLabel(when, row);
    scaleFont(date, 0.85);
    makeSecondary(date);
    lines->addWidget(date);
    layout->addLayout(lines, 1);
    row->setAccessibleName(drive + ", " + outcome + ", " + when);
    return row;
}

}  // namespace

HistoryPage::HistoryPage(ViewContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    QVBoxLayout* column = scrollingColumn(this);
    const QColor secondary = secondaryTextColor(palette());
    empty_ = makeEmptyHistory();
    column->addWidget(empty_);

    tiles_ = new QWidget(this);
    auto* tileRow = new QHBoxLayout(tiles_);
    tileRow->setContentsMargins(0, 0, 0, 0);
    tileRow->setSpacing(12);
    attempts_ = new Tile(text("Eject attempts"), "media-eject", secondary, tiles_);
    blocked_ = new Tile(text("Blocked"), "changes-prevent", tint::orange, tiles_);
    offenders_ = new Tile(text("Repeat offenders"), "system-users", secondary, tiles_);
    for (Tile* tile : {attempts_, blocked_, offenders_}) tileRow->addWidget(tile, 1);
    column->addWidget(tiles_);

    offenderSection_ = new Section(text("Repeat offenders"), "system-users", secondary, this);
    offenderSection_->setObjectName("offendersSection");
    column->addWidget(offenderSection_);
    attemptSection_ = new Section(text("Every attempt"), "document-open-recent", secondary, this);
    attemptSection_->setObjectName("attemptsSection");
    column->addWidget(attemptSection_);

    clear_ = keyboardButton(new QPushButton(text("Clear History…"), this));
    clear_->setObjectName("clearHistoryButton");
    connect(clear_, &QPushButton::clicked, this, &HistoryPage::clearHistory);
    column->addWidget(clear_, 0, Qt::AlignLeft);
    column->addStretch();

    connect(&context_.model, &AppModel::historyChanged, this, &HistoryPage::update);
    update();
}

QWidget* HistoryPage::makeEmptyHistory() {
    auto* empty = new QWidget(this);
    empty->setObjectName("emptyHistory");
    // Centred line by line, not by the layout: see EmptyDrives.
    auto* layout = new QVBoxLayout(empty);
    layout->setContentsMargins(16, 40, 16, 40);
    auto* symbol = new QLabel(empty);
    symbol->setPixmap(QIcon::fromTheme("document-open-recent").pixmap(44, 44, QIcon::Disabled));
    symbol->setAlignment(Qt::AlignCenter);
    layout->addWidget(symbol);
    auto* title = new QLabel(text("No ejects yet"), empty);
    scaleFont(title, 1.1, true);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    layout->addWidget(title);
    auto* explanation = new QLabel(text("Every eject is listed here, with what blocked it, so you can see which app "
                                        "keeps holding your drives."),
                                   empty);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignCenter);
    makeSecondary(explanation);
    layout->addWidget(explanation);
    return empty;
}

void HistoryPage::update() {
    const History& history = context_.model.history();
    const bool hasEvents = !history.events.empty();
    empty_->setVisible(!hasEvents);
    tiles_->setVisible(hasEvents);
    clear_->setVisible(hasEvents);

    const std::vector<Offender> offenders = history.offenders(offenderLimit);
    attempts_->setValue(static_cast<int>(history.events.size()));
    blocked_->setValue(history.blockedCount());
    offenders_->setValue(static_cast<int>(offenders.size()));

    offenderSection_->clear();
    for (const Offender& offender : offenders) offenderSection_->rows()->addWidget(offenderRow(offender, offenderSection_));
    offenderSection_->setCount(static_cast<int>(offenders.size()));
    attemptSection_->clear();
    for (const HistoryEvent& event : history.events) attemptSection_->rows()->addWidget(attemptRow(event, attemptSection_));
    attemptSection_->setCount(static_cast<int>(history.events.size()));
}

void HistoryPage::clearHistory() {
    if (context_.dialogs.confirmClearHistory(this)) context_.model.clearHistory();
}

}  // namespace kestrix::views

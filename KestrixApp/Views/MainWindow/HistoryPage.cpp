#include "KestrixApp/Views/MainWindow/HistoryPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Cards/TextStyle.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/MainWindow/HistoryDate.h"
#include "KestrixApp/Views/MainWindow/ScrollingColumn.h"
#include "KestrixApp/Views/MainWindow/Section.h"
#include "KestrixApp/Views/MainWindow/Tile.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixApp/Views/ViewText.h"
#include "KestrixKit/Holders/HelperCatalog.h"

namespace kestrix::views {

namespace {

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
    layout->addWidget(
        symbolLabel(symbolPixmap(HelperCatalog::symbol(offender.kind), 18, secondaryTextColor(row->palette())), row));
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
    layout->addWidget(symbolLabel(blocked ? symbolPixmap("exclamationmark.triangle.fill", 16, tint::orange)
                                          : symbolPixmap("checkmark.circle.fill", 16, tint::green),
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
    attempts_ = new Tile(text("Eject attempts"), "eject.fill", secondary, tiles_);
    blocked_ = new Tile(text("Blocked"), "lock.fill", tint::orange, tiles_);
    offenders_ = new Tile(text("Repeat offenders"), "person.2.fill", secondary, tiles_);
    for (Tile* tile : {attempts_, blocked_, offenders_}) tileRow->addWidget(tile, 1);
    column->addWidget(tiles_);

    offenderSection_ = new Section(text("Repeat offenders"), "person.2.fill", secondary, this);
    offenderSection_->setObjectName("offendersSection");
    column->addWidget(offenderSection_);
    attemptSection_ = new Section(text("Every attempt"), "clock.arrow.circlepath", secondary, this);
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
    symbol->setPixmap(symbolPixmap("clock.arrow.circlepath", 44, secondaryTextColor(palette())));
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

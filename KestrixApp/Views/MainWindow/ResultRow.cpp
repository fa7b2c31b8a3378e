#include "KestrixApp/Views/MainWindow/ResultRow.h"

#include <QHBoxLayout>
#include <QLabel>

#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixKit/Flow/ReportText.h"

namespace kestrix::views {

ResultRow::ResultRow(const DriveReport& report, QWidget* parent) : QWidget(parent) {
    const bool done = report.verdict.isDone();
    const QString message = QString::fromStdString(ReportText::message(report));
    setAccessibleName(message);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* symbol = new QLabel(this);
    symbol->setPixmap(done ? symbolPixmap("checkmark.circle.fill", 16, tint::green)
                           : symbolPixmap("exclamationmark.triangle.fill", 16, tint::orange));
    symbol->setAlignment(Qt::AlignTop);
    row->addWidget(symbol);
    auto* sentence = plainLabel(message, this);
    sentence->setWordWrap(true);
    row->addWidget(sentence, 1);
}

}  // namespace kestrix::views

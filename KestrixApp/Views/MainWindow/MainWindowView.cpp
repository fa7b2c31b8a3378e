#include "KestrixApp/Views/MainWindow/MainWindowView.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/MainWindow/DrivesPage.h"
#include "KestrixApp/Views/MainWindow/HistoryPage.h"
#include "KestrixApp/Views/Panel/CheckAgain.h"
#include "KestrixApp/Views/Panel/PanelText.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "KestrixApp/Views/ViewText.h"

namespace kestrix::views {

MainWindowView::MainWindowView(ViewContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeToolbar());
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    layout->addWidget(divider);

    pages_ = new QStackedWidget(this);
    drivesPage_ = new DrivesPage(context_, pages_);
    drivesPage_->setObjectName("drivesPage");
    historyPage_ = new HistoryPage(context_, pages_);
    historyPage_->setObjectName("historyPage");
    pages_->addWidget(drivesPage_);
    pages_->addWidget(historyPage_);
    layout->addWidget(pages_, 1);

    connect(&context_.model, &AppModel::mainPageChanged, this, &MainWindowView::showPage);
    showPage(context_.model.mainPage());
}

QWidget* MainWindowView::makeToolbar() {
    auto* toolbar = new QWidget(this);
    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(12, 8, 12, 8);

    // The page picker: two choices, one of them always on.
    auto* picker = new QWidget(toolbar);
    picker->setObjectName("pagePicker");
    picker->setAccessibleName(text("Page"));
    picker->setFixedWidth(220);
    auto* choices = new QHBoxLayout(picker);
    choices->setContentsMargins(0, 0, 0, 0);
    choices->setSpacing(0);
    auto* group = new QButtonGroup(picker);
    drivesChoice_ = keyboardButton(new QPushButton(text("Drives"), picker));
    drivesChoice_->setObjectName("drivesChoice");
    historyChoice_ = keyboardButton(new QPushButton(text("History"), picker));
    historyChoice_->setObjectName("historyChoice");
    for (QPushButton* choice : {drivesChoice_, historyChoice_}) {
        choice->setCheckable(true);
        group->addButton(choice);
        choices->addWidget(choice, 1);
    }
    group->setExclusive(true);
    connect(drivesChoice_, &QPushButton::clicked, this, [this] { context_.model.setMainPage("drives"); });
    connect(historyChoice_, &QPushButton::clicked, this, [this] { context_.model.setMainPage("history"); });
    row->addWidget(picker);
    row->addStretch();

    auto* checkAgainButton = keyboardButton(new QPushButton(symbolIcon("arrow.clockwise", toolbar->palette().color(QPalette::ButtonText)), text("Check Again"), toolbar));
    checkAgainButton->setObjectName("checkAgainButton");
    checkAgainButton->setToolTip(text("Check the drives again"));
    connect(checkAgainButton, &QPushButton::clicked, this, [this] { checkAgain(context_.model); });
    row->addWidget(checkAgainButton);

    auto* ejectAllButton = keyboardButton(new QPushButton(symbolIcon("eject.fill", toolbar->palette().color(QPalette::ButtonText)), text("Eject All"), toolbar));
    ejectAllButton->setObjectName("ejectAllButton");
    // The key is named only while the desktop gave it to the app.
    const auto tellKey = [this, ejectAllButton] {
        const AppModel& model = context_.model;
        ejectAllButton->setToolTip(model.hotkeyEnabled() && model.hotkeyRegistered()
                                       ? textFormat("Eject every drive (%1)", {hotkeyGlyphs().toStdString()})
                                       : text("Eject every drive"));
    };
    tellKey();
    connect(&context_.model, &AppModel::hotkeyEnabledChanged, ejectAllButton, tellKey);
    connect(&context_.model, &AppModel::hotkeyRegisteredChanged, ejectAllButton, tellKey);
    connect(ejectAllButton, &QPushButton::clicked, this, [this] { context_.model.ejectAll(false); });
    row->addWidget(ejectAllButton);
    return toolbar;
}

void MainWindowView::showPage(const QString& page) {
    const bool history = page == "history";
    pages_->setCurrentWidget(history ? static_cast<QWidget*>(historyPage_) : drivesPage_);
    (history ? historyChoice_ : drivesChoice_)->setChecked(true);
}

}  // namespace kestrix::views

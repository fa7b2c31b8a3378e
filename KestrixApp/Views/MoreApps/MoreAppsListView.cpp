#include "KestrixApp/Views/MoreApps/MoreAppsListView.h"

#include <QDesktopServices>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "KestrixApp/Views/MoreApps/MoreAppsLook.h"
#include "KestrixApp/Views/MoreApps/MoreAppsRow.h"
#include "KestrixApp/Views/ViewStyle.h"
#include "MoreAppsKit/CampaignLinks.h"
#include "MoreAppsKit/MoreAppsTexts.h"

namespace kestrix::views {

namespace {

QString qtString(const std::string& text) { return QString::fromStdString(text); }

QLabel* label(const std::string& text, const char* name, QWidget* parent) {
    auto* result = new QLabel(qtString(text), parent);
    result->setObjectName(name);
    result->setTextFormat(Qt::PlainText);
    result->setWordWrap(true);
    return result;
}

}  // namespace

MoreAppsListView::MoreAppsListView(moreapps::MoreAppsConfig config, moreapps::MoreAppsLoader loader,
                                   std::string language, OpenLink openLink, QWidget* parent)
    : QWidget(parent),
      list_(std::move(config), std::move(loader)),
      language_(std::move(language)),
      openLink_(openLink ? std::move(openLink) : [](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    pool_.setMaxThreadCount(1);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    // The margins of the settings' other tabs.
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(10);

    auto* title = label(moreapps::MoreAppsTexts::title(language_), "title", content);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title->setFont(titleFont);
    title->setAccessibleName(title->text());
    layout->addWidget(title);

    entries_ = new QVBoxLayout;
    entries_->setSpacing(2);
    layout->addLayout(entries_);
    showEntries();

    auto* seeAll = new MoreAppsRow({.symbol = "square.grid.2x2.fill",
                                    .tint = MoreAppsLook::tintColour("gray"),
                                    .title = qtString(moreapps::MoreAppsTexts::seeAllTitle(language_)),
                                    .subtitle = {},
                                    .help = {}},
                                   content);
    seeAll->setObjectName("seeAll");
    connect(seeAll, &QPushButton::clicked, this,
            [this] { open(moreapps::CampaignLinks::seeAllApps(list_.config().utmSource)); });
    layout->addWidget(seeAll);

    auto* footer = label(moreapps::MoreAppsTexts::footer(language_, list_.config().isDirect), "footer", content);
    makeSecondary(footer);
    layout->addWidget(footer);
    layout->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    // Seen through to the tab's own background, as the other tabs are.
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

MoreAppsListView::~MoreAppsListView() = default;

void MoreAppsListView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (refreshStarted_) return;
    refreshStarted_ = true;
    pool_.start([this, task = list_.refreshTask()] {
        auto feed = task();
        QMetaObject::invokeMethod(
            this,
            [this, feed = std::move(feed)] {
                if (feed) {
                    list_.showRefreshed(feed);
                    showEntries();
                }
                emit refreshFinished();
            },
            Qt::QueuedConnection);
    });
}

void MoreAppsListView::showEntries() {
    while (QLayoutItem* item = entries_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const auto& entry : list_.apps()) {
        auto* row = new MoreAppsRow({.symbol = entry.symbol,
                                     .tint = MoreAppsLook::tintColour(entry.tint),
                                     .title = qtString(entry.shownName(language_)),
                                     .subtitle = qtString(entry.shownDetail(language_)),
                                     .help = qtString(moreapps::MoreAppsTexts::rowHelp(entry, language_))});
        row->setObjectName("entry");
        connect(row, &QPushButton::clicked, this, [this, link = entry.linkToOpen(list_.config())] { open(link); });
        entries_->addWidget(row);
    }
}

void MoreAppsListView::open(const std::optional<std::string>& link) const {
    if (link) openLink_(QUrl(qtString(*link), QUrl::StrictMode));
}

}  // namespace kestrix::views

#include "KestrixApp/Views/Welcome/WelcomeView.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixApp/Views/Settings/ModelToggle.h"

namespace kestrix::views {

namespace {

struct Feature {
    const char* icon;
    const char* title;
    const char* text;
};

const Feature features[] = {
    {"preferences-desktop", "It lives in the menu bar",
     "Click the eject symbol at the top of the screen to see every drive, whether it’s ready, and what’s using it."},
    {"edit-find", "It names the app, in plain words",
     "Which app has a file open, a Terminal window sitting in a folder, Quick Look making thumbnails, and what to do "
     "about each."},
    {"view-conceal-symbolic", "What it can’t see",
     "macOS’s own background services (Spotlight, Time Machine and others) run as the system, so only macOS can look "
     "inside them. When one holds a drive, Kestrix says so, names it when macOS does, and tries again for you."},
    {"changes-allow", "No special permissions",
     "No Full Disk Access, no Accessibility, no administrator password. Apps are only ever asked to quit, the same as "
     "choosing Quit, so they can ask you to save."},
};

QWidget* header() {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* symbol = new QLabel;
    symbol->setPixmap(QIcon::fromTheme("media-eject").pixmap(56, 56));
    column->addWidget(symbol, 0, Qt::AlignHCenter);
    auto* title = new QLabel(localizedText("Welcome to Kestrix"));
    QFont large = title->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    title->setFont(large);
    column->addWidget(title, 0, Qt::AlignHCenter);
    auto* subtitle = secondaryText(localizedText("Find out what’s keeping a drive from ejecting."));
    subtitle->setAlignment(Qt::AlignHCenter);
    column->addWidget(subtitle);
    return box;
}

// A symbol beside a title above its text; screen readers read the row as one sentence.
QWidget* featureRow(const Feature& feature) {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    auto* symbol = new QLabel;
    symbol->setFixedWidth(28);
    symbol->setPixmap(QIcon::fromTheme(feature.icon).pixmap(20, 20));
    line->addWidget(symbol, 0, Qt::AlignTop);
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    const QString title = localizedText(feature.title);
    const QString text = localizedText(feature.text);
    words->addWidget(sectionHeading(title));
    words->addWidget(secondaryText(text));
    line->addLayout(words, 1);
    row->setAccessibleName(title + ". " + text);
    return row;
}

}  // namespace

WelcomeView::WelcomeView(AppModel& model, std::function<void(const QString&)> openWindow, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("welcome");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(28, 24, 28, 24);
    column->setSpacing(18);
    column->addWidget(header());
    for (const Feature& feature : features) column->addWidget(featureRow(feature));
    column->addWidget(modelToggle(model, localizedText("Open Kestrix when you log in"), launchAtLoginFlag));
    column->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* help = new QPushButton(localizedText("Help"));
    connect(help, &QPushButton::clicked, this, [openWindow = std::move(openWindow)] { openWindow("help"); });
    buttons->addWidget(help);
    auto* start = new QPushButton(localizedText("Get Started"));
    start->setObjectName("getStarted");
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &WelcomeView::getStarted);
    buttons->addWidget(start);
    column->addLayout(buttons);
}

void WelcomeView::getStarted() {
    model_.setOnboarded(true);
    window()->close();
}

}  // namespace kestrix::views

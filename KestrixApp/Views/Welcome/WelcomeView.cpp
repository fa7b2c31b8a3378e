#include "KestrixApp/Views/Welcome/WelcomeView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Settings/FormText.h"
#include "KestrixApp/Views/Settings/ModelToggle.h"

namespace kestrix::views {

namespace {

struct Feature {
    const char* symbol;
    const char* title;
    const char* text;
};

// Where Kestrix is: its icon where the desktop has a tray, else the window that stands in for it.
const Feature inTheTray{"menubar.rectangle", "It lives in the menu bar",
                        "Click the eject symbol at the top of the screen to see every drive, whether it’s ready, and "
                        "what’s using it."};
const Feature inAWindow{"menubar.rectangle", "It opens as a window",
                        "Your desktop has no system tray, so Kestrix shows every drive, whether it’s ready, and what’s "
                        "using it in a window of its own. Closed, it comes back when you start Kestrix again."};

const Feature features[] = {
    {"text.magnifyingglass", "It names the app, in plain words",
     "Which app has a file open, a Terminal window sitting in a folder, Quick Look making thumbnails, and what to do "
     "about each."},
    {"eye.slash", "What it can’t see",
     "macOS’s own background services (Spotlight, Time Machine and others) run as the system, so only macOS can look "
     "inside them. When one holds a drive, Kestrix says so, names it when macOS does, and tries again for you."},
    {"lock.open", "No special permissions",
     "No Full Disk Access, no Accessibility, no administrator password. Apps are only ever asked to quit, the same as "
     "choosing Quit, so they can ask you to save."},
};

QWidget* header() {
    auto* box = new QWidget;
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* symbol = new QLabel;
    symbol->setPixmap(symbolPixmap("eject.circle.fill", 56, symbol->palette().color(QPalette::Highlight)));
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
    symbol->setPixmap(symbolPixmap(feature.symbol, 20, symbol->palette().color(QPalette::WindowText)));
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

WelcomeView::WelcomeView(AppModel& model, std::function<void(const QString&)> openWindow, bool inTray, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("welcome");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 24);
    outer->setSpacing(12);
    // On a low screen the words scroll; the buttons stay in view.
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* words = new QWidget;
    auto* column = new QVBoxLayout(words);
    column->setContentsMargins(28, 24, 28, 0);
    column->setSpacing(18);
    column->addWidget(header());
    column->addWidget(featureRow(inTray ? inTheTray : inAWindow));
    for (const Feature& feature : features) column->addWidget(featureRow(feature));
    column->addWidget(modelToggle(model, localizedText("Open Kestrix when you log in"), launchAtLoginFlag));
    column->addStretch(1);
    scroller->setWidget(words);
    outer->addWidget(scroller, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(28, 0, 28, 0);
    buttons->addStretch(1);
    auto* help = new QPushButton(localizedText("Help"));
    connect(help, &QPushButton::clicked, this, [openWindow = std::move(openWindow)] { openWindow("help"); });
    buttons->addWidget(help);
    auto* start = new QPushButton(localizedText("Get Started"));
    start->setObjectName("getStarted");
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &WelcomeView::getStarted);
    buttons->addWidget(start);
    outer->addLayout(buttons);
}

void WelcomeView::getStarted() {
    model_.setOnboarded(true);
    window()->close();
}

}  // namespace kestrix::views

#pragma once

#include <QWidget>
#include <cstddef>

#include "KestrixApp/Views/ViewContext.h"

class QPushButton;

namespace kestrix::views {

class Section;
class Tile;

// The main window's history: three summary tiles, the apps that block ejects most often, every
// attempt with its outcome, and Clear History.
class HistoryPage : public QWidget {
    Q_OBJECT
public:
    // How many repeat offenders the page lists.
    static constexpr std::size_t offenderLimit = 5;

    explicit HistoryPage(ViewContext& context, QWidget* parent = nullptr);

private:
    QWidget* makeEmptyHistory();
    void update();
    void clearHistory();

    ViewContext& context_;
    QWidget* empty_;
    QWidget* tiles_;
    Tile* attempts_;
    Tile* blocked_;
    Tile* offenders_;
    Section* offenderSection_;
    Section* attemptSection_;
    QPushButton* clear_;
};

}  // namespace kestrix::views

#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "KestrixApp/Views/ViewContext.h"

class QVBoxLayout;

namespace kestrix::views {

class DriveCard;
class EmptyDrives;
class Section;
class Tile;

// The main window's drives: four summary tiles, the drives that need the user, those ready to
// eject, and the results of the last Eject All and of this session's ejects.
class DrivesPage : public QWidget {
    Q_OBJECT
public:
    explicit DrivesPage(ViewContext& context, QWidget* parent = nullptr);

private:
    void updateDrives();
    void updateResults();
    void showResults();

    ViewContext& context_;
    EmptyDrives* empty_;
    QWidget* tiles_;
    Tile* connected_;
    Tile* needYou_;
    Tile* ready_;
    Tile* ejected_;
    Section* needsYouSection_;
    Section* readySection_;
    Section* lastEjectAllSection_;
    Section* ejectedSection_;
    std::map<std::string, DriveCard*> cards_;
    // Which drive sits in which section, in order, as last laid out.
    std::vector<std::pair<std::string, bool>> placement_;
};

}  // namespace kestrix::views

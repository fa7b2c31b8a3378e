#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "KestrixApp/Views/ViewContext.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace kestrix::views {

class DriveCard;
class EmptyDrives;

// What drops down from the tray icon (or, without a tray, the app's own small window): how many
// drives need the user, one compact card per drive, the newest result, Eject All, and the ways
// to the windows and the application commands.
class MenuPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int panelWidth = 400;
    static constexpr int listHeightLimit = 520;

    explicit MenuPanel(ViewContext& context, QWidget* parent = nullptr);

    // The most the panel may be high where the screen has less room than it wants: the drive
    // list gives up the difference and scrolls.
    void setHeightLimit(int pixels);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeFooter();
    void updateDrives();
    void updateStatus();
    void updateLastEject();
    void updateEjectAll();
    void fitList();

    ViewContext& context_;
    QLabel* status_;
    EmptyDrives* empty_;
    QScrollArea* scroll_;
    QWidget* list_;
    QVBoxLayout* listLayout_;
    std::map<std::string, DriveCard*> cards_;
    QWidget* lastEject_;
    QLabel* lastEjectText_;
    QPushButton* ejectAll_;
    QLabel* ejectAllTitle_;
    QLabel* ejectAllGlyphs_;
    int heightLimit_ = QWIDGETSIZE_MAX;
};

}  // namespace kestrix::views

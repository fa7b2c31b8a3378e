#pragma once

#include <QWidget>

#include "KestrixApp/Views/ViewContext.h"

class QPushButton;
class QStackedWidget;

namespace kestrix::views {

class DrivesPage;
class HistoryPage;

// The app's large window: a page picker and the toolbar's commands over the Drives or History
// page. The chosen page is the model's, so it survives restarts.
class MainWindowView : public QWidget {
    Q_OBJECT
public:
    explicit MainWindowView(ViewContext& context, QWidget* parent = nullptr);

private:
    QWidget* makeToolbar();
    void showPage(const QString& page);

    ViewContext& context_;
    QPushButton* drivesChoice_;
    QPushButton* historyChoice_;
    QStackedWidget* pages_;
    DrivesPage* drivesPage_;
    HistoryPage* historyPage_;
};

}  // namespace kestrix::views

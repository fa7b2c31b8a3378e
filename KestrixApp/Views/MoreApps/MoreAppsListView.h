#pragma once

#include <QThreadPool>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

#include "MoreAppsKit/MoreAppsList.h"

class QVBoxLayout;

namespace kestrix::views {

// The maker's other apps: a title, one row per visible entry, a row that opens the whole
// catalogue and a footer saying where the links lead. It shows the cached or built-in feed at
// once and, the first time it is shown, asks the network for a newer one on a worker thread
// (the loader keeps that to once a day).
class MoreAppsListView : public QWidget {
    Q_OBJECT

public:
    using OpenLink = std::function<void(const QUrl&)>;

    // `language` is one the list speaks ("en", "es"); `openLink` opens a page, the desktop's
    // browser when empty.
    MoreAppsListView(moreapps::MoreAppsConfig config, moreapps::MoreAppsLoader loader, std::string language,
                     OpenLink openLink = {}, QWidget* parent = nullptr);
    ~MoreAppsListView() override;

    const moreapps::MoreAppsList& list() const { return list_; }

signals:
    // The network check finished, whether or not it brought a new feed.
    void refreshFinished();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showEntries();
    void open(const std::optional<std::string>& link) const;

    moreapps::MoreAppsList list_;
    std::string language_;
    OpenLink openLink_;
    QVBoxLayout* entries_ = nullptr;
    bool refreshStarted_ = false;
    // Last, so that it is destroyed first: a running check ends before anything it reports to.
    QThreadPool pool_;
};

}  // namespace kestrix::views

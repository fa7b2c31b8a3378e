#pragma once

#include <QWidget>

namespace kestrix::views {

inline constexpr const char* supportMailLink = "mailto:support@orvane.com?subject=Kestrix";
inline constexpr const char* productPageLink = "https://orvane.com/kestrix";

// The Help window's content: where the app is, how it works and where it stops, and two ways to
// reach us.
class HelpView : public QWidget {
    Q_OBJECT
public:
    // inTray: the desktop shows the app's tray icon; otherwise the app is a window of its own.
    explicit HelpView(bool inTray, QWidget* parent = nullptr);
};

}  // namespace kestrix::views

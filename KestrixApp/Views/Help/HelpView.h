#pragma once

#include <QWidget>

namespace kestrix::views {

inline constexpr const char* supportMailLink = "mailto:support@orvane.com?subject=Kestrix";
inline constexpr const char* productPageLink = "https://orvane.com/kestrix";

// The Help window's content: how the app works and where it stops, and two ways to reach us.
class HelpView : public QWidget {
    Q_OBJECT
public:
    explicit HelpView(QWidget* parent = nullptr);
};

}  // namespace kestrix::views

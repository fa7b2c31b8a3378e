#include "KestrixApp/Views/Screenshots/DarkPalette.h"

namespace kestrix::views {

QPalette darkPalette() {
    QPalette palette;
    const QColor window(0x2a, 0x2e, 0x32);
    const QColor text(0xfc, 0xfc, 0xfc);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, QColor(0x1b, 0x1e, 0x20));
        palette.setColor(group, QPalette::AlternateBase, QColor(0x23, 0x26, 0x29));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, QColor(0x31, 0x36, 0x3b));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
        palette.setColor(group, QPalette::HighlightedText, text);
        palette.setColor(group, QPalette::Link, QColor(0x1d, 0x99, 0xf3));
        palette.setColor(group, QPalette::ToolTipBase, window);
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::Light, QColor(0x40, 0x46, 0x4c));
        palette.setColor(group, QPalette::Midlight, QColor(0x36, 0x3b, 0x40));
        palette.setColor(group, QPalette::Mid, QColor(0x1f, 0x22, 0x25));
        palette.setColor(group, QPalette::Dark, QColor(0x14, 0x16, 0x18));
        palette.setColor(group, QPalette::Shadow, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, window);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6e, 0x71, 0x75));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6e, 0x71, 0x75));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6e, 0x71, 0x75));
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(0x31, 0x36, 0x3b));
    return palette;
}

}  // namespace kestrix::views

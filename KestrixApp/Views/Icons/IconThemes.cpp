#include "KestrixApp/Views/Icons/IconThemes.h"

#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QStringList>

namespace kestrix::views {

// Any desktop theme may lack an icon, and a platform without a desktop theme (openbox, i3, the
// offscreen one) names no theme and searches no theme folders at all: look where the desktop
// keeps its themes, with Adwaita, installed with the app, behind them.
void prepareIconThemes() {
    static const bool prepared = [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            const QString icons = QDir(data).filePath("icons");
            if (!paths.contains(icons)) paths << icons;
        }
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty()) QIcon::setThemeName("hicolor");
        QIcon::setFallbackThemeName("Adwaita");
        return true;
    }();
    (void)prepared;
}

}  // namespace kestrix::views

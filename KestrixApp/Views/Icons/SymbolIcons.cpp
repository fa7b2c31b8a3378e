#include "KestrixApp/Views/Icons/SymbolIcons.h"

#include <algorithm>

#include <QDir>
#include <QStandardPaths>
#include <QString>

namespace kestrix::views {
namespace {

// Any desktop theme may lack an icon, and a platform without a desktop (the offscreen one,
// a bare X server) searches no theme folders at all: look where the desktop keeps its themes,
// with Adwaita, installed with the app, behind them.
void prepareThemes() {
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

}  // namespace

const std::vector<std::pair<std::string_view, std::string_view>>& symbolIconNames() {
    static const std::vector<std::pair<std::string_view, std::string_view>> table{
        // Drives by kind.
        {"externaldrive.fill", "drive-harddisk"},
        {"sdcard.fill", "media-flash"},
        {"opticaldiscdrive.fill", "drive-optical"},
        {"server.rack", "network-server"},
        {"opticaldisc.fill", "media-optical"},
        {"externaldrive.badge.checkmark", "drive-harddisk-usb-symbolic"},
        // A drive's state.
        {"hourglass", "content-loading-symbolic"},
        {"lock.fill", "changes-prevent-symbolic"},
        {"lock.open", "changes-allow-symbolic"},
        {"gearshape.fill", "emblem-system-symbolic"},
        {"gearshape", "emblem-system-symbolic"},
        {"hand.raised.fill", "dialog-warning-symbolic"},
        {"hand.raised", "dialog-warning-symbolic"},
        {"clock.arrow.circlepath", "document-open-recent-symbolic"},
        {"xmark.octagon.fill", "process-stop-symbolic"},
        {"checkmark.circle.fill", "object-select-symbolic"},
        {"exclamationmark.triangle.fill", "dialog-warning-symbolic"},
        {"info.circle", "dialog-information-symbolic"},
        {"pencil", "document-edit-symbolic"},
        // Actions.
        {"eject.fill", "media-eject"},
        {"eject.circle", "media-eject-symbolic"},
        {"eject.circle.fill", "media-eject"},
        {"arrow.clockwise", "view-refresh"},
        {"ellipsis.circle", "view-more-symbolic"},
        {"magnifyingglass", "system-search-symbolic"},
        {"text.magnifyingglass", "edit-find-symbolic"},
        {"doc.on.doc", "edit-copy-symbolic"},
        {"eye.slash", "view-conceal-symbolic"},
        // Kinds of holder.
        {"app.fill", "application-x-executable"},
        {"folder.fill", "folder"},
        {"eye.fill", "view-reveal-symbolic"},
        {"photo.on.rectangle", "image-x-generic-symbolic"},
        {"stethoscope", "emblem-important-symbolic"},
        {"gearshape.2.fill", "preferences-system-symbolic"},
        {"arrow.triangle.2.circlepath", "emblem-synchronizing-symbolic"},
        {"shield.lefthalf.filled", "security-high-symbolic"},
        {"terminal.fill", "utilities-terminal-symbolic"},
        {"chevron.left.forwardslash.chevron.right", "utilities-terminal"},
        // Windows and settings.
        {"menubar.rectangle", "preferences-desktop-display-symbolic"},
        {"list.bullet.rectangle", "view-list-symbolic"},
        {"square.grid.2x2", "view-grid-symbolic"},
        {"square.grid.2x2.fill", "view-grid-symbolic"},
        {"person.2.fill", "system-users-symbolic"},
        {"bolt.horizontal", "input-keyboard-symbolic"},
    };
    return table;
}

std::optional<std::string_view> freedesktopIconName(std::string_view symbol) {
    const auto& table = symbolIconNames();
    const auto found = std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == symbol; });
    if (found == table.end()) return std::nullopt;
    return found->second;
}

QIcon symbolIcon(std::string_view symbol) {
    const auto name = freedesktopIconName(symbol);
    if (!name) return {};
    prepareThemes();
    return QIcon::fromTheme(QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size())));
}

QIcon symbolGlyph(std::string_view symbol) {
    const auto name = freedesktopIconName(symbol);
    if (!name) return {};
    prepareThemes();
    QString glyphName = QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()));
    if (!glyphName.endsWith("-symbolic")) glyphName += "-symbolic";
    const QIcon glyph = QIcon::fromTheme(glyphName);
    return glyph.isNull() ? symbolIcon(symbol) : glyph;
}

}  // namespace kestrix::views

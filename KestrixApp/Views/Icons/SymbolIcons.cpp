#include "KestrixApp/Views/Icons/SymbolIcons.h"

#include <algorithm>
#include <array>

#include <QString>

#include "KestrixApp/Views/Icons/IconThemes.h"
#include "KestrixApp/Views/Icons/TintedIconEngine.h"

namespace kestrix::views {
namespace {

// The app's own drawings: of its eject symbols, which are its face and always its own, and of
// the glyphs of the buttons that show nothing else, for a desktop without any icon theme.
struct OwnDrawing {
    std::string_view symbol;
    const char* resource;
    bool always;
};
constexpr std::array<OwnDrawing, 11> ownDrawings{{
    {"eject.fill", ":/kestrix/icons/eject.svg", true},
    {"eject.circle", ":/kestrix/icons/eject-circle.svg", true},
    {"eject.circle.fill", ":/kestrix/icons/eject-circle-fill.svg", true},
    {"arrow.clockwise", ":/kestrix/icons/arrow-clockwise.svg", false},
    {"ellipsis.circle", ":/kestrix/icons/ellipsis.svg", false},
    {"magnifyingglass", ":/kestrix/icons/magnifyingglass.svg", false},
    {"externaldrive.fill", ":/kestrix/icons/drive.svg", false},
    {"sdcard.fill", ":/kestrix/icons/drive.svg", false},
    {"server.rack", ":/kestrix/icons/drive.svg", false},
    // A disk image's badge is as blank as any drive's without a theme.
    {"opticaldiscdrive.fill", ":/kestrix/icons/drive.svg", false},
    {"opticaldisc.fill", ":/kestrix/icons/drive.svg", false},
}};

QIcon shapeOf(std::string_view symbol) {
    const auto own = std::find_if(ownDrawings.begin(), ownDrawings.end(),
                                  [&](const OwnDrawing& drawing) { return drawing.symbol == symbol; });
    if (own != ownDrawings.end() && own->always) return QIcon(QString::fromLatin1(own->resource));
    const auto name = freedesktopIconName(symbol);
    if (!name) return {};
    prepareIconThemes();
    const QIcon themed = QIcon::fromTheme(QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size())));
    if (themed.isNull() && own != ownDrawings.end()) return QIcon(QString::fromLatin1(own->resource));
    return themed;
}

}  // namespace

const std::vector<std::pair<std::string_view, std::string_view>>& symbolIconNames() {
    static const std::vector<std::pair<std::string_view, std::string_view>> table{
        // Drives by kind.
        {"externaldrive.fill", "drive-harddisk-symbolic"},
        {"sdcard.fill", "media-flash-symbolic"},
        {"opticaldiscdrive.fill", "drive-optical-symbolic"},
        {"server.rack", "network-server-symbolic"},
        {"opticaldisc.fill", "media-optical-symbolic"},
        {"externaldrive.badge.checkmark", "drive-harddisk-usb-symbolic"},
        {"externaldrive", "drive-removable-media-symbolic"},
        {"internaldrive", "drive-harddisk-symbolic"},
        // A drive's state.
        {"hourglass", "content-loading-symbolic"},
        {"lock.fill", "changes-prevent-symbolic"},
        {"lock.open", "changes-allow-symbolic"},
        {"gearshape.fill", "emblem-system-symbolic"},
        {"gearshape", "emblem-system-symbolic"},
        {"hand.raised.fill", "dialog-warning-symbolic"},
        {"hand.raised", "security-high-symbolic"},
        {"clock.arrow.circlepath", "document-open-recent-symbolic"},
        {"xmark.octagon.fill", "process-stop-symbolic"},
        {"checkmark.circle.fill", "object-select-symbolic"},
        {"exclamationmark.triangle.fill", "dialog-warning-symbolic"},
        {"info.circle", "dialog-information-symbolic"},
        {"pencil", "document-edit-symbolic"},
        // Actions.
        {"eject.fill", "media-eject-symbolic"},
        {"eject.circle", "media-eject-symbolic"},
        {"eject.circle.fill", "media-eject-symbolic"},
        {"arrow.clockwise", "view-refresh-symbolic"},
        {"ellipsis.circle", "view-more-symbolic"},
        {"magnifyingglass", "system-search-symbolic"},
        {"text.magnifyingglass", "edit-find-symbolic"},
        {"doc.on.doc", "edit-copy-symbolic"},
        {"eye.slash", "view-conceal-symbolic"},
        {"arrow.up.forward.app", "send-to-symbolic"},
        // Kinds of holder.
        {"app.fill", "application-x-executable-symbolic"},
        {"folder.fill", "folder-symbolic"},
        {"folder", "folder-symbolic"},
        {"eye.fill", "view-reveal-symbolic"},
        {"photo.on.rectangle", "image-x-generic-symbolic"},
        {"stethoscope", "emblem-important-symbolic"},
        {"gearshape.2.fill", "preferences-system-symbolic"},
        {"arrow.triangle.2.circlepath", "emblem-synchronizing-symbolic"},
        {"shield.lefthalf.filled", "security-high-symbolic"},
        {"terminal.fill", "utilities-terminal-symbolic"},
        {"chevron.left.forwardslash.chevron.right", "utilities-terminal-symbolic"},
        // Windows and settings.
        {"menubar.rectangle", "preferences-desktop-display-symbolic"},
        {"list.bullet.rectangle", "view-list-symbolic"},
        {"square.grid.2x2", "view-app-grid-symbolic"},
        {"square.grid.2x2.fill", "view-app-grid-symbolic"},
        {"person.2.fill", "system-users-symbolic"},
        {"bolt.horizontal", "input-keyboard-symbolic"},
        // What the related apps of the More Apps list may show.
        {"doc.on.clipboard", "edit-paste-symbolic"},
        {"pencil.and.list.clipboard", "document-edit-symbolic"},
        {"doc.text", "text-x-generic-symbolic"},
        {"photo", "image-x-generic-symbolic"},
        {"music.note", "audio-x-generic-symbolic"},
        {"film", "video-x-generic-symbolic"},
        {"clock", "preferences-system-time-symbolic"},
        {"star", "starred-symbolic"},
    };
    return table;
}

std::optional<std::string_view> freedesktopIconName(std::string_view symbol) {
    const auto& table = symbolIconNames();
    const auto found = std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == symbol; });
    if (found == table.end()) return std::nullopt;
    return found->second;
}

QIcon symbolIcon(std::string_view symbol, const QColor& color) { return tintedIcon(shapeOf(symbol), color); }

QPixmap symbolPixmap(std::string_view symbol, int side, const QColor& color) {
    return symbolIcon(symbol, color).pixmap(side, side);
}

}  // namespace kestrix::views

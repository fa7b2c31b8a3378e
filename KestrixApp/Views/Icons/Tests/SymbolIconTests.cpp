#include <gtest/gtest.h>

#include <QIcon>

#include "KestrixApp/Views/Cards/CardTexts.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixKit/Holders/HelperCatalog.h"

using namespace kestrix;
using namespace kestrix::views;

TEST(SymbolIcons, EverySymbolTheCardsUseHasAnIconInTheFallbackTheme) {
    std::vector<std::string> used;
    for (HelperKind kind : allHelperKinds) used.push_back(HelperCatalog::symbol(kind));
    for (VolumeKind kind : allVolumeKinds) {
        DriveVolume volume;
        volume.kind = kind;
        used.emplace_back(driveSymbol(Drive{.id = "d", .volumes = {volume}}));
    }
    for (const DriveDisplay& display :
         {DriveDisplay{Busy::checking}, DriveDisplay{DriveDisplay::InUse{}}, DriveDisplay{DriveDisplay::HeldByMacOS{}},
          DriveDisplay{DriveDisplay::WaitingOnApps{}}, DriveDisplay{DriveDisplay::Backup{}},
          DriveDisplay{DriveDisplay::Failed{}}, DriveDisplay{DriveDisplay::Ready{}}}) {
        used.emplace_back(chipLook(display).symbol);
    }
    for (const char* symbol : {"eject.fill", "arrow.clockwise", "ellipsis.circle", "info.circle", "pencil",
                               "magnifyingglass", "eject.circle", "eject.circle.fill", "externaldrive.badge.checkmark"}) {
        used.emplace_back(symbol);
    }
    // A desktop theme without these names must not leave the cards blank.
    QIcon::setThemeName("hicolor");
    for (const std::string& symbol : used) {
        ASSERT_TRUE(freedesktopIconName(symbol).has_value()) << symbol;
        EXPECT_FALSE(symbolIcon(symbol).isNull()) << symbol << " as " << *freedesktopIconName(symbol);
    }
    EXPECT_FALSE(freedesktopIconName("no.such.symbol"));
    EXPECT_TRUE(symbolIcon("no.such.symbol").isNull());
}

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "KestrixApp/Views/Cards/CardTexts.h"
#include "KestrixApp/Views/Icons/AppIcons.h"
#include "KestrixApp/Views/Icons/SymbolIcons.h"
#include "KestrixApp/Views/Panel/EmptyDrives.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/Settings/SettingsView.h"
#include "KestrixApp/Views/TestSupport/ViewHarness.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"
#include "KestrixKit/Holders/HelperCatalog.h"

using namespace kestrix;
using namespace kestrix::views;

namespace {

// The colours of an image's pixels at the given opacity or more (edges blend, cores do not).
std::set<QRgb> visibleColours(const QImage& image, int leastAlpha = 1) {
    std::set<QRgb> colours;
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if (qAlpha(pixels.pixel(x, y)) >= leastAlpha) colours.insert(pixels.pixel(x, y) & 0xFFFFFF);
    return colours;
}

// A desktop whose Qt theme names no icon theme (openbox, XFCE, i3).
void noDesktopIconTheme() { QIcon::setThemeName(""); }

}  // namespace

TEST(SymbolIcons, EverySymbolOfTheTableHasAnIconWhereTheDesktopThemeHasNone) {
    noDesktopIconTheme();
    std::vector<std::string> used;
    for (HelperKind kind : allHelperKinds) used.push_back(HelperCatalog::symbol(kind));
    for (VolumeKind kind : allVolumeKinds) {
        DriveVolume volume;
        volume.kind = kind;
        used.emplace_back(driveSymbol(Drive{.id = "d", .volumes = {volume}}));
    }
    for (const auto& entry : symbolIconNames()) used.emplace_back(entry.first);
    for (const std::string& symbol : used) {
        ASSERT_TRUE(freedesktopIconName(symbol).has_value()) << symbol;
        EXPECT_FALSE(symbolIcon(symbol, Qt::black).isNull()) << symbol << " as " << *freedesktopIconName(symbol);
    }
    EXPECT_FALSE(freedesktopIconName("no.such.symbol"));
    EXPECT_TRUE(symbolIcon("no.such.symbol", Qt::black).isNull());
}

TEST(SymbolIcons, AGlyphIsDrawnInThePalettesColourSoItReadsOnDarkPalettes) {
    for (const char* symbol : {"ellipsis.circle", "magnifyingglass", "lock.fill", "eject.fill"}) {
        for (const QColor colour : {QColor(Qt::white), QColor(0x20, 0x20, 0x20), QColor(0xE6, 0x7E, 0x22)}) {
            const QImage drawn = symbolPixmap(symbol, 24, colour).toImage();
            ASSERT_FALSE(drawn.isNull()) << symbol;
            EXPECT_EQ(visibleColours(drawn, 255), std::set<QRgb>{colour.rgb() & 0xFFFFFF}) << symbol;
        }
    }
    // Disabled buttons fade their glyph with their text.
    const QImage faded = symbolIcon("eject.fill", Qt::white).pixmap(24, 24, QIcon::Disabled).toImage();
    int strongest = 0;
    for (int y = 0; y < faded.height(); ++y)
        for (int x = 0; x < faded.width(); ++x) strongest = std::max(strongest, qAlpha(faded.pixel(x, y)));
    EXPECT_GT(strongest, 0);
    EXPECT_LT(strongest, 200);
}

TEST(AppIcons, TheTrayIconIsDrawnWithoutAnyIconThemeAndMarksAttention) {
    // No theme at all, not even the fallback: the tray icon, the eject symbols and the glyphs of
    // the buttons that show nothing else are the app's own.
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName("none");
    QIcon::setFallbackThemeName("none");
    const QImage normal = trayIcon(false).pixmap(22, 22).toImage();
    const QImage attention = trayIcon(true).pixmap(22, 22).toImage();
    EXPECT_GE(visibleColours(normal).size(), 2u) << "a blank tray icon leaves the user nothing to click";
    EXPECT_NE(normal, attention);
    for (const char* symbol :
         {"eject.fill", "eject.circle", "eject.circle.fill", "arrow.clockwise", "ellipsis.circle", "magnifyingglass"})
        EXPECT_FALSE(visibleColours(symbolPixmap(symbol, 16, Qt::black).toImage()).empty()) << symbol;
}

// The windows made before any drive card: each view asks the icon table, which sets the themes up
// first, rather than the theme directly.
TEST(SymbolIcons, ViewsMadeBeforeAnyCardHaveTheirIcons) {
    noDesktopIconTheme();
    views::testing::ViewHarness harness;
    harness.startViews({{"volumes", nlohmann::json::array()}});

    MenuPanel panel(*harness.context);
    for (const char* button : {"checkAgainButton", "moreButton"})
        EXPECT_FALSE(panel.findChild<QPushButton*>(button)->icon().isNull()) << button;
    const auto* empty = panel.findChild<EmptyDrives*>("emptyDrives");
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(empty->findChildren<QLabel*>().first()->pixmap().isNull());

    SettingsView settings(*harness.model, {});
    for (int tab = 0; tab < settings.count(); ++tab)
        EXPECT_FALSE(settings.tabIcon(tab).isNull()) << settings.tabText(tab).toStdString();

    WelcomeView welcome(*harness.model, [](const QString&) {}, true);
    int symbols = 0;
    for (const QLabel* label : welcome.findChildren<QLabel*>()) symbols += label->pixmap().isNull() ? 0 : 1;
    EXPECT_EQ(symbols, 5) << "the header and the four feature rows";
}

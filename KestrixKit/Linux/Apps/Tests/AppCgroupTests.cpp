#include <gtest/gtest.h>

#include "KestrixKit/Linux/Apps/AppCgroup.h"

using namespace kestrix;
using Strings = std::vector<std::string>;

TEST(AppCgroup, NamesTheDesktopEntryOfAnAppUnit) {
    const struct {
        std::string unit;
        Strings ids;
    } cases[] = {
        // Scopes: app-[<launcher>-]<id>-<random>.scope.
        {"app-gnome-org.gnome.eog-12345.scope", {"org.gnome.eog", "gnome-org.gnome.eog"}},
        {"app-org.kde.gwenview-4f8e.scope", {"org.kde.gwenview"}},
        {"app-flatpak-org.kestrix.HolidayViewer-998.scope",
         {"org.kestrix.HolidayViewer", "flatpak-org.kestrix.HolidayViewer"}},
        // Services: app-[<launcher>-]<id>[@<random>].service.
        {"app-org.gnome.eog@a1b2c3.service", {"org.gnome.eog"}},
        {"app-gnome-org.gnome.eog@autostart.service", {"org.gnome.eog", "gnome-org.gnome.eog"}},
        {"app-holiday\\x2dviewer.service", {"holiday-viewer"}},
        // Dashes of the id are escaped, so they never split it.
        {"app-gnome-holiday\\x2dviewer-77.scope", {"holiday-viewer", "gnome-holiday-viewer"}},
        {"app-kde-gnome\\x2dterminal\\x2dx-3.scope", {"gnome-terminal-x", "kde-gnome-terminal-x"}},
        {"app-gnome-holiday-viewer-77.scope", {"holiday-viewer", "gnome-holiday-viewer"}},
        {"app-bad\\x2escape\\x-1.scope", {"bad.scape\\x"}},
        // Snaps: snap.<name>.<app>-<uuid>.scope.
        {"snap.holiday-viewer.viewer-7f1c2d3e-4b5a-4c6d-8e9f-0a1b2c3d4e5f.scope", {"holiday-viewer_viewer"}},
        {"snap.firefox.firefox-00000000-1111-2222-3333-444444444444.scope", {"firefox_firefox"}},
        {"snap.firefox.firefox.scope", {}},
        {"snap.firefox-00000000-1111-2222-3333-444444444444.scope", {}},
        {"snap.firefox.hook.configure-00000000-1111-2222-3333-444444444444.scope", {}},
        // Units of the session and the system, and broken names.
        {"app.slice", {}},
        {"app-gnome\\x2dsession\\x2dmanager.slice", {}},
        {"user@1000.service", {}},
        {"session-2.scope", {}},
        {"vte-spawn-0c6a7f4e.scope", {}},
        {"app-12345.scope", {}},
        {"app--x-1.scope", {}},
        {"app-.service", {}},
        {"app-x-.scope", {}},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.unit);
        EXPECT_EQ(appcgroup::desktopIDs(example.unit), example.ids);
    }
}

TEST(AppCgroup, FindsTheInnermostAppUnitOfAProcess) {
    const std::string hybrid = "12:memory:/user.slice\n1:name=systemd:/user.slice/x.scope\n"
                               "0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                               "app-gnome-org.gnome.eog-4242.scope/worker\n";
    const auto path = appcgroup::unifiedPath(hybrid);
    ASSERT_TRUE(path);
    EXPECT_EQ(appcgroup::appUnit(*path),
              (appcgroup::AppUnit{
                  .desktopIDs = {"org.gnome.eog", "gnome-org.gnome.eog"},
                  .cgroupPath = "/user.slice/user-1000.slice/user@1000.service/app.slice/app-gnome-org.gnome.eog-4242.scope"}));
    EXPECT_EQ(appcgroup::appUnit("/user.slice/user-1000.slice/session-2.scope"), std::nullopt);
    EXPECT_EQ(appcgroup::appUnit("/"), std::nullopt);
    EXPECT_EQ(appcgroup::unifiedPath("0::/\n"), "/");
    EXPECT_EQ(appcgroup::unifiedPath("1:name=systemd:/user.slice\n"), std::nullopt);
    EXPECT_EQ(appcgroup::unifiedPath(""), std::nullopt);

    EXPECT_EQ(appcgroup::lowestPID("4242\n4250\n4243\n"), 4242);
    EXPECT_EQ(appcgroup::lowestPID("90\n12x\n-3\n0\n\n"), 90);
    EXPECT_EQ(appcgroup::lowestPID(""), std::nullopt);
}

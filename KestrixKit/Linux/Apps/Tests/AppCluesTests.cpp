#include <gtest/gtest.h>

#include "KestrixKit/Linux/Apps/DesktopEntryFolders.h"
#include "KestrixKit/Linux/Apps/LaunchEnvironment.h"
#include "KestrixKit/Linux/Apps/MainProcessRule.h"

using namespace kestrix;
using namespace std::string_literals;

TEST(AppClues, ReadsTheLaunchAndTheSandbox) {
    const std::string launched = "HOME=/home/ann\0GIO_LAUNCHED_DESKTOP_FILE=/usr/share/applications/org.gnome.eog.desktop\0"
                                 "GIO_LAUNCHED_DESKTOP_FILE_PID=4242\0LANG=C\0"s;
    EXPECT_EQ(parseDesktopLaunch(launched),
              (DesktopLaunch{.desktopFile = "/usr/share/applications/org.gnome.eog.desktop", .pid = 4242}));
    EXPECT_EQ(parseDesktopLaunch("GIO_LAUNCHED_DESKTOP_FILE=/a.desktop\0"s), std::nullopt);
    EXPECT_EQ(parseDesktopLaunch("GIO_LAUNCHED_DESKTOP_FILE_PID=12\0"s), std::nullopt);
    EXPECT_EQ(parseDesktopLaunch("GIO_LAUNCHED_DESKTOP_FILE=a.desktop\0GIO_LAUNCHED_DESKTOP_FILE_PID=12\0"s), std::nullopt);
    EXPECT_EQ(parseDesktopLaunch("GIO_LAUNCHED_DESKTOP_FILE=/a.desktop\0GIO_LAUNCHED_DESKTOP_FILE_PID=-1\0"s), std::nullopt);
    EXPECT_EQ(parseDesktopLaunch("GIO_LAUNCHED_DESKTOP_FILE=/a.desktop\0GIO_LAUNCHED_DESKTOP_FILE_PID=12x"s), std::nullopt);

    EXPECT_EQ(flatpakAppID("[Instance]\nname=wrong\n[Application]\nname=org.kestrix.HolidayViewer\n"
                           "runtime=runtime/org.gnome.Platform/x86_64/46\n"),
              "org.kestrix.HolidayViewer");
    EXPECT_EQ(flatpakAppID("[Runtime]\nname=org.gnome.Platform\n"), std::nullopt);
    EXPECT_EQ(flatpakAppID("[Application]\nname=\n"), std::nullopt);
}

TEST(AppClues, FindsEntriesByTheirDesktopFileID) {
    const std::map<std::string, std::string> set = {{"HOME", "/home/ann"},
                                                    {"XDG_DATA_DIRS", "/opt/share/:relative:/usr/share:/"}};
    const EnvironmentLookup environment = [&](const std::string& name) -> std::optional<std::string> {
        const auto value = set.find(name);
        return value == set.end() ? std::nullopt : std::optional(value->second);
    };
    EXPECT_EQ(applicationFolders(environment),
              (std::vector<std::string>{"/home/ann/.local/share/applications", "/opt/share/applications",
                                        "/usr/share/applications", "/applications"}));
    EXPECT_EQ(applicationFolders([](const std::string&) { return std::nullopt; }),
              (std::vector<std::string>{"/usr/local/share/applications", "/usr/share/applications"}));

    EXPECT_EQ(desktopFileID("org.gnome.eog.desktop"), "org.gnome.eog");
    EXPECT_EQ(desktopFileID("kde4/graphics/gwenview.desktop"), "kde4-graphics-gwenview");
    EXPECT_EQ(desktopFileID("mimeinfo.cache"), std::nullopt);
    EXPECT_EQ(desktopFileID(".desktop"), std::nullopt);
}

TEST(AppClues, TellsTheMainProcessFromItsHelpers) {
    const AppProcessFacts viewer{.pid = 40, .executable = "/usr/bin/holiday-viewer", .entryProgram = "holiday-viewer"};
    const struct {
        std::string why;
        AppProcessFacts facts;
        bool main;
    } cases[] = {
        {"launched", {.pid = 40, .launchedPID = 40}, true},
        {"child of the launched", {.pid = 41, .launchedPID = 40, .executable = "/usr/bin/sleep"}, false},
        {"first of its unit", {.pid = 40, .unitLeader = 40}, true},
        {"runs the entry's program", viewer, true},
        {"started by another program", {.pid = 40, .executable = "/usr/bin/holiday-viewer",
                                         .parentExecutable = "/usr/bin/gnome-shell", .entryProgram = "/usr/bin/holiday-viewer"},
         true},
        {"a renderer started by its app", {.pid = 41, .launchedPID = 40, .unitLeader = 40,
                                           .executable = "/usr/bin/holiday-viewer",
                                           .parentExecutable = "/usr/bin/holiday-viewer", .entryProgram = "holiday-viewer"},
         false},
        {"another program", {.pid = 41, .executable = "/usr/bin/convert", .entryProgram = "holiday-viewer"}, false},
        {"nothing known", {.pid = 41}, false},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(example.why);
        EXPECT_EQ(isAppMainProcess(example.facts), example.main);
    }
}

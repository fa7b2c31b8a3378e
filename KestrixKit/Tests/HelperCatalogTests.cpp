#include <gtest/gtest.h>

#include "KestrixKit/Holders/HelperCatalog.h"

using namespace kestrix;

namespace {

HelperKind kindOf(std::string_view name, std::optional<std::string> path = std::nullopt, bool isApp = false,
                  std::int32_t pid = 100) {
    return HelperCatalog::kind(name, path, isApp, pid);
}

Holder holderOf(HelperKind kind, std::vector<Hold> holds, std::string name = "tool") {
    return Holder{.pid = 100, .name = std::move(name), .kind = kind, .holds = std::move(holds)};
}

}  // namespace

TEST(HelperCatalog, ClassifiesByPidNameAndPath) {
    EXPECT_EQ(kindOf("Preview", std::nullopt, true, 0), HelperKind::fileService);
    EXPECT_EQ(kindOf("MDS"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("mds_stores"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("mdsfoo"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("mds_somethinglong"), HelperKind::commandLine);
    EXPECT_EQ(kindOf("-zsh"), HelperKind::shell);
    EXPECT_EQ(kindOf("BASH"), HelperKind::shell);
    EXPECT_EQ(kindOf("Sketchbook", std::nullopt, true), HelperKind::app);
    EXPECT_EQ(kindOf("sketchbook"), HelperKind::commandLine);
    EXPECT_EQ(kindOf("com.apple.quicklook.preview"), HelperKind::quickLook);
    EXPECT_EQ(kindOf("MyThumbnailer"), HelperKind::quickLook);
    EXPECT_EQ(kindOf("helper", "/System/Library/Frameworks/QuickLook.framework/helper"), HelperKind::quickLook);
    EXPECT_EQ(kindOf("mdworker_other"), HelperKind::spotlight);
    EXPECT_EQ(kindOf("fsck_ext4"), HelperKind::diskCheck);
    EXPECT_EQ(kindOf("XProtectPluginService"), HelperKind::securityScan);
    EXPECT_EQ(kindOf("agent", "/Library/Apple/System/Library/CoreServices/XProtect.app/x"), HelperKind::securityScan);
    EXPECT_EQ(kindOf("Finder2", "/System/Library/CoreServices/Finder.app/Contents/MacOS/Finder2", true),
              HelperKind::finder);
    EXPECT_EQ(kindOf("dbhelper", "/Applications/Dropbox.app/Contents/MacOS/dbhelper"), HelperKind::cloudSync);
    EXPECT_EQ(kindOf("dbhelper"), HelperKind::commandLine);
    // A listed name wins over the app flag.
    EXPECT_EQ(kindOf("Dropbox", std::nullopt, true), HelperKind::cloudSync);
    EXPECT_EQ(kindOf("Quick Look", std::nullopt, true), HelperKind::quickLook);
}

TEST(HelperCatalog, RanksAndServices) {
    std::vector<int> ranks;
    std::vector<bool> services;
    for (const HelperKind kind : allHelperKinds) {
        ranks.push_back(HelperCatalog::sortRank(kind));
        services.push_back(HelperCatalog::isSystemService(kind));
    }
    EXPECT_EQ(ranks, (std::vector<int>{0, 2, 3, 3, 3, 3, 3, 3, 2, 3, 1, 1}));
    EXPECT_EQ(services, (std::vector<bool>{false, false, true, true, true, true, true, true, false, true, false, false}));
}

TEST(HelperCatalog, DescribesHolders) {
    const Hold reading{HoldKind::openFile, "/Volumes/Data/notes.txt", false};
    const Hold writing{HoldKind::openFile, "/Volumes/Data/notes.txt", true};
    const Hold folder{HoldKind::currentFolder, "/Volumes/Data/src/", false};
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::app, {reading}, "Pages")),
              "Pages has a file open on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::app, {reading, writing}, "Pages")),
              "Pages is saving to a file on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::app, {folder}, "Mousepad")),
              "Mousepad is working in a folder on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::app, {folder, reading}, "Mousepad")),
              "Mousepad has a file open on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::commandLine, {folder})),
              "tool, a command-line program, is working in a folder on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::commandLine, {folder, reading})),
              "tool, a command-line program, has a file open on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::commandLine, {})),
              "tool, a command-line program, has a file open on this drive.");
    EXPECT_EQ(HelperCatalog::description(holderOf(HelperKind::cloudSync, {}, "Dropbox")),
              "Dropbox is syncing or backing up files on this drive.");
    EXPECT_EQ(HelperCatalog::advice(HelperKind::spotlight),
              "It usually lets go in a few seconds, so Kestrix tries again for you. For a drive you eject often, "
              "add it to Spotlight\u2019s Search Privacy list in System Settings.");
    EXPECT_EQ(HelperCatalog::label(HelperKind::mediaAnalysis), "Photos analysis");
    EXPECT_EQ(HelperCatalog::symbol(HelperKind::commandLine), "chevron.left.forwardslash.chevron.right");

    EXPECT_EQ(HelperCatalog::holdLine(reading), "Has notes.txt open");
    EXPECT_EQ(HelperCatalog::holdLine(writing), "Writing to notes.txt");
    EXPECT_EQ(HelperCatalog::holdLine(folder), "Working in src");
    EXPECT_EQ(HelperCatalog::holdLine({HoldKind::runningFrom, "/Volumes/Data/bin/x", false}), "Running from this drive");
    EXPECT_EQ(HelperCatalog::holdLine({HoldKind::mappedFile, "/Volumes/Data/lib.so", false}), "Still reading lib.so");
    EXPECT_EQ(HelperCatalog::holdLine({HoldKind::currentFolder, "/", false}), "Working in /");
}

TEST(HelperCatalog, AProgramThatTakesTheTerminalGetsItsOwnRemedy) {
    const auto commandLine = [](std::string name, std::optional<std::string> path = std::nullopt) {
        return Holder{.pid = 100, .name = std::move(name), .executablePath = std::move(path),
                      .kind = HelperKind::commandLine};
    };
    EXPECT_EQ(HelperCatalog::advice(commandLine("less")), "Press q in its Terminal window to close it, or end it from here.");
    EXPECT_EQ(HelperCatalog::advice(commandLine("htop")), "Press q in its Terminal window to close it, or end it from here.");
    EXPECT_EQ(HelperCatalog::advice(commandLine("man")), "Press q in its Terminal window to close it, or end it from here.");
    // Known by the name it was started by, or by its executable's.
    EXPECT_EQ(HelperCatalog::advice(commandLine("vi", "/usr/bin/vim.basic")),
              "In its Terminal window, type :wq to save your work and quit.");
    EXPECT_EQ(HelperCatalog::advice(commandLine("editor", "/usr/bin/nano")),
              "In its Terminal window, press Control-X to save your work and quit.");
    EXPECT_EQ(HelperCatalog::advice(commandLine("emacs")),
              "In its Terminal window, press Control-X Control-C to save your work and quit.");
    EXPECT_EQ(HelperCatalog::advice(commandLine("micro")), "In its Terminal window, save your work and quit it.");
    EXPECT_EQ(HelperCatalog::advice(commandLine("rsync")), HelperCatalog::advice(HelperKind::commandLine));
    // Only a command-line program: an app called "less" quits as apps do.
    Holder app = commandLine("less");
    app.kind = HelperKind::app;
    EXPECT_EQ(HelperCatalog::advice(app), HelperCatalog::advice(HelperKind::app));

    const Holder idle{.pid = 101, .name = "zsh", .kind = HelperKind::shell};
    EXPECT_EQ(HelperCatalog::advice(idle), HelperCatalog::advice(HelperKind::shell));
    Holder running = idle;
    running.job = "vim";
    EXPECT_EQ(HelperCatalog::advice(running), "It\u2019s running vim: quit vim in that window first, then type cd ~ and "
                                              "press Return, or close the window.");
    EXPECT_EQ(HelperCatalog::stillRunning(idle), "zsh is still running. In its Terminal window, type cd ~, or close the window.");
    EXPECT_EQ(HelperCatalog::stillRunning(commandLine("top")), "top is still running. In its Terminal window, press q.");
    EXPECT_EQ(HelperCatalog::stillRunning(Holder{.name = "Dropbox", .kind = HelperKind::cloudSync}),
              "Dropbox is still running. Pause syncing, or wait for it to finish.");
}

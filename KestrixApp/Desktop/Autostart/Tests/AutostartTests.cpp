#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "KestrixApp/Desktop/Autostart/AutostartEntry.h"
#include "KestrixApp/Desktop/Autostart/XdgAutostart.h"

namespace {

namespace fs = std::filesystem;
using kestrix::desktop::XdgAutostart;
namespace AutostartEntry = kestrix::desktop::AutostartEntry;

class AutostartFolders : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("kestrix-autostart-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "data/applications");
    }
    void TearDown() override { fs::remove_all(root_); }

    XdgAutostart autostart(const fs::path& configFolder) const {
        return XdgAutostart(configFolder / "autostart/com.orvane.Kestrix.desktop", {root_ / "data/applications"},
                            "/opt/Kestrix App/kestrix");
    }
    static std::string contents(const fs::path& file) {
        std::ifstream stream(file);
        return {std::istreambuf_iterator<char>(stream), {}};
    }

    fs::path root_;
};

TEST_F(AutostartFolders, TurningOnWritesTheEntryAndTurningOffRemovesIt) {
    auto login = autostart(root_ / "config");
    EXPECT_FALSE(login.isEnabled());
    EXPECT_EQ(login.setEnabled(true), std::nullopt);
    EXPECT_TRUE(login.isEnabled());
    EXPECT_NE(contents(login.entryFile()).find("Exec=\"/opt/Kestrix App/kestrix\" --background\n"), std::string::npos);
    EXPECT_EQ(login.setEnabled(false), std::nullopt);
    EXPECT_FALSE(fs::exists(login.entryFile()));
    EXPECT_FALSE(login.isEnabled());
    EXPECT_EQ(login.setEnabled(false), std::nullopt) << "turning off what is off is no failure";
}

TEST_F(AutostartFolders, AnEntryHiddenByTheUserDoesNotCount) {
    auto login = autostart(root_ / "config");
    fs::create_directories(login.entryFile().parent_path());
    std::ofstream(login.entryFile()) << "[Desktop Entry]\nName=Kestrix\nExec=kestrix\nHidden=true\n";
    EXPECT_FALSE(login.isEnabled());
    std::ofstream(login.entryFile()) << "[Desktop Entry]\nName=Kestrix\nExec=kestrix\nHidden=false\n";
    EXPECT_TRUE(login.isEnabled());
}

TEST_F(AutostartFolders, AFolderThatCannotBeMadeIsAFailureAndLeavesItOff) {
    std::ofstream(root_ / "config") << "a file where the config folder should be";
    auto login = autostart(root_ / "config");
    const auto failure = login.setEnabled(true);
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->empty());
    EXPECT_FALSE(login.isEnabled());
}

TEST_F(AutostartFolders, AFIFOAtTheEntryNeverBlocksAndIsLeftAlone) {
    auto login = autostart(root_ / "config");
    fs::create_directories(login.entryFile().parent_path());
    ASSERT_EQ(::mkfifo(login.entryFile().c_str(), 0600), 0);
    // With no writer at the other end, opening it for reading would wait for ever.
    EXPECT_FALSE(login.isEnabled());
    EXPECT_TRUE(login.setEnabled(true).has_value());
    EXPECT_TRUE(login.setEnabled(false).has_value());
    EXPECT_TRUE(fs::is_fifo(login.entryFile()));
}

TEST_F(AutostartFolders, TheInstalledEntryIsCopiedToStartInTheBackground) {
    std::ofstream(root_ / "data/applications/com.orvane.Kestrix.desktop")
        << "[Desktop Entry]\nType=Application\nName=Kestrix\nName[es]=Kestrix\nIcon=com.orvane.Kestrix\n"
           "Exec=kestrix %U\nDBusActivatable=true\nMimeType=x-scheme-handler/kestrix;\nActions=eject-all;\n\n"
           "[Desktop Action eject-all]\nName=Eject All Drives\nExec=kestrix --action eject-all\n";
    auto login = autostart(root_ / "config");
    ASSERT_EQ(login.setEnabled(true), std::nullopt);
    EXPECT_EQ(contents(login.entryFile()),
              "[Desktop Entry]\nType=Application\nName=Kestrix\nName[es]=Kestrix\nIcon=com.orvane.Kestrix\n"
              "Exec=\"/opt/Kestrix App/kestrix\" --background\n");
}

TEST(AutostartEntryText, ExecQuotesWhatTheExecSyntaxReserves) {
    EXPECT_NE(AutostartEntry::text(std::nullopt, R"(/home/a "b"/100%\k)").find(R"(Exec="/home/a \\"b\\"/100%%\\\\k" --background)"),
              std::string::npos);
    EXPECT_TRUE(AutostartEntry::starts("[Desktop Entry]\nExec=x\n[Other]\nHidden=true\n"))
        << "only the main group decides";
}

}  // namespace

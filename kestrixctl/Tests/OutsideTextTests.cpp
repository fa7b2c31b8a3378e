#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "kestrixctl/Tests/RunKestrixctl.h"
#include "kestrixctl/Tests/TestWorlds.h"

extern char** environ;

using namespace kestrixctl::testing;
namespace fs = std::filesystem;

namespace {

// What a local user can name a program: it sets the terminal's title, clears the screen and
// adds a line of its own.
const std::string evilName = "evil\x1b]0;\u2026\x07\x1b[2J\nNothing is using X";

class OutsideText : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestrixctl-outside-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        world = (folder / "world.json").string();
        history = (folder / "history.json").string();
        writeWorld(world, {{"ownPID", 900},
                           {"volumes", {usbVolume("X", "/media/X", 2065, "sdb"),
                                        usbVolume("-backup", "/media/-backup", 2081, "sdc"),
                                        usbVolume("Bell\x07\x1b[2J", "/media/Bell\x1b[2J", 2097, "sdd")}},
                           {"processes", {{{"pid", 410}, {"name", evilName}, {"executablePath", "/usr/bin/evil"},
                                           {"uid", 501}, {"parentPID", 1},
                                           {"openFiles", {{{"path", "/media/X/a\x1b[2J"}, {"device", 2065}}}}}}}});
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    std::string world;
    std::string history;
};

// Neither escape sequences nor bells nor lines of the program's own making.
void expectNoControls(const std::string& output) {
    EXPECT_EQ(output.find_first_of("\x1b\x07"), std::string::npos) << output;
    EXPECT_EQ(output.find("\nNothing is using X"), std::string::npos) << output;
    EXPECT_NE(output.find("evil\\u{1B}]0;\u2026\\u{7}\\u{1B}[2J\\u{A}Nothing is using X"), std::string::npos) << output;
}

}  // namespace

TEST_F(OutsideText, ControlCharactersInNamesAndPathsAreShownNotRun) {
    const auto check = run({"--world", world, "check", "X"});
    EXPECT_EQ(check.status, 1);
    expectNoControls(check.out);
    EXPECT_NE(check.out.find("a\\u{1B}[2J"), std::string::npos) << check.out;

    const auto eject = run({"--world", world, "--history", history, "eject", "X"});
    EXPECT_EQ(eject.status, 1);
    expectNoControls(eject.out);
    expectNoControls(run({"--world", world, "--history", history, "history"}).out);

    const auto drives = run({"--world", world, "drives"});
    EXPECT_NE(drives.out.find("Bell\\u{7}\\u{1B}[2J — "), std::string::npos) << drives.out;
    EXPECT_NE(drives.out.find("/media/Bell\\u{1B}[2J\n"), std::string::npos) << drives.out;
    const auto missing = run({"--world", world, "check", "no\x1b[2J"});
    EXPECT_EQ(missing.err.find('\x1b'), std::string::npos) << missing.err;
}

TEST_F(OutsideText, ADriveNamedWithADashIsNamedAfterTheEndOfOptions) {
    EXPECT_EQ(run({"--world", world, "check", "-backup"}).status, 2);
    EXPECT_EQ(run({"--world", world, "check", "--", "-backup"}).status, 0);
    const auto eject = run({"--world", world, "eject", "--json", "--", "-backup"});
    EXPECT_EQ(eject.status, 0) << eject.err;
    EXPECT_EQ(nlohmann::json::parse(eject.out).at("drive").at("id"), "sdc");
    // Global options after "--" are names, too.
    const auto named = run({"--world", world, "check", "--", "--demo"});
    EXPECT_EQ(named.status, 1);
    EXPECT_NE(named.err.find(" --demo "), std::string::npos) << named.err;
}

TEST_F(OutsideText, AnEjectIsRecordedEvenWhenItsOutputCannotBeWritten) {
    std::vector<nlohmann::json> volumes;
    for (int index = 0; index < 30; ++index) {
        const std::string name = "Stick" + std::to_string(index);
        volumes.push_back(usbVolume(name, "/media/" + name, 3000 + index, "sd" + std::string(1, char('a' + index % 26)) +
                                                                              std::to_string(index)));
    }
    writeWorld(world, {{"volumes", volumes}});

    // Standard output is a pipe nobody reads: the first write ends the command with SIGPIPE.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    std::vector<std::string> words{KESTRIXCTL_PATH, "--world", world, "--history", history, "eject-all", "--json"};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ), 0);
    close(ends[1]);
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;

    const auto recorded = run({"--world", world, "--history", history, "history", "--json"});
    EXPECT_EQ(nlohmann::json::parse(recorded.out).at("events").size(), 30u) << recorded.err;
}

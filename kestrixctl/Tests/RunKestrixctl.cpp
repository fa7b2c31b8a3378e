#include "kestrixctl/Tests/RunKestrixctl.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

extern char** environ;

namespace kestrixctl::testing {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string temporaryPath() {
    char pattern[] = "/tmp/kestrixctl-test-XXXXXX";
    const int descriptor = mkstemp(pattern);
    if (descriptor >= 0) close(descriptor);
    return pattern;
}

}  // namespace

RunResult run(const std::vector<std::string>& words, const std::string& input) {
    std::vector<std::string> arguments{KESTRIXCTL_PATH};
    arguments.insert(arguments.end(), words.begin(), words.end());
    return runCommand(std::move(arguments), input);
}

RunResult runCommand(std::vector<std::string> arguments, const std::string& input) {
    const std::string inPath = temporaryPath(), outPath = temporaryPath(), errPath = temporaryPath();
    std::ofstream(inPath, std::ios::binary) << input;

    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    RunResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readAll(outPath);
    result.err = readAll(errPath);
    for (const std::string& path : {inPath, outPath, errPath}) std::remove(path.c_str());
    return result;
}

}  // namespace kestrixctl::testing

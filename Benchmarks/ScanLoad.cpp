// Starts PROCESSES child processes that each keep FILES files open (files of FOLDER, opened
// for reading), and one more that keeps HELD open for writing. Prints the pid of that one,
// then waits until its standard input closes and ends every child.
//
// usage: scan-load PROCESSES FILES FOLDER HELD

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void holdFilesAndWait(const std::vector<std::string>& paths, int flags) {
    for (const std::string& path : paths) {
        if (open(path.c_str(), flags | O_CLOEXEC, 0644) < 0) {
            std::perror(path.c_str());
            _exit(1);
        }
    }
    for (;;) pause();
}

pid_t startChild(const std::vector<std::string>& paths, int flags) {
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (pid == 0) holdFilesAndWait(paths, flags);
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: scan-load PROCESSES FILES FOLDER HELD\n");
        return 2;
    }
    const int processes = std::atoi(argv[1]);
    const int files = std::atoi(argv[2]);
    const std::string folder = argv[3];
    std::vector<std::string> paths;
    for (int index = 0; index < files; ++index) {
        const std::string path = folder + "/file-" + std::to_string(index);
        const int created = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (created < 0) {
            std::perror(path.c_str());
            return 1;
        }
        close(created);
        paths.push_back(path);
    }

    std::vector<pid_t> children;
    for (int index = 0; index < processes; ++index) children.push_back(startChild(paths, O_RDONLY));
    const pid_t holder = startChild({argv[4]}, O_CREAT | O_WRONLY);
    children.push_back(holder);
    std::printf("%d\n", static_cast<int>(holder));
    std::fflush(stdout);

    char byte = 0;
    for (;;) {
        const ssize_t count = read(STDIN_FILENO, &byte, 1);
        if (count == 0 || (count < 0 && errno != EINTR)) break;
    }
    for (const pid_t child : children) kill(child, SIGKILL);
    for (const pid_t child : children) waitpid(child, nullptr, 0);
    return 0;
}

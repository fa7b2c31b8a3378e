#include "KestrixKit/Tests/Support/ShellCommands.h"

#include <cstdio>
#include <cstdlib>

namespace kestrix::test {

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

bool runQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string unmountOtherDrivesInThisNamespace(const std::string& keep) {
    // Deepest first, so that a drive mounted inside another goes before it.
    return "for m in $(awk '$5 ~ \"^/media/\" {print $5}' /proc/self/mountinfo | sort -r); do "
           "[ \"$m\" = '" + keep + "' ] || umount -l \"$m\" 2>/dev/null; done; ";
}

}  // namespace kestrix::test

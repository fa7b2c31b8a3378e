#include "UDisks2/TestSupport/OrdinaryUser.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace kestrix::test {

std::vector<std::string> OrdinaryUser::command(const std::vector<std::string>& variables,
                                               const std::vector<std::string>& words) const {
    // runuser sets HOME, USER and LOGNAME; the test's own XDG folders and buses must not leak in.
    std::vector<std::string> line{"/usr/sbin/runuser", "-u", name, "--", "/usr/bin/env", "-u", "XDG_CONFIG_HOME",
                                  "-u", "XDG_DATA_HOME", "-u", "XDG_CACHE_HOME", "-u", "XDG_RUNTIME_DIR", "-u",
                                  "DBUS_SESSION_BUS_ADDRESS", "-u", "DBUS_SYSTEM_BUS_ADDRESS"};
    line.insert(line.end(), variables.begin(), variables.end());
    line.insert(line.end(), words.begin(), words.end());
    return line;
}

std::string OrdinaryUser::shellLine(const std::vector<std::string>& variables,
                                   const std::vector<std::string>& words) const {
    std::string line;
    for (const std::string& word : command(variables, words)) {
        line += '\'';
        for (const char character : word) line += character == '\'' ? std::string("'\\''") : std::string(1, character);
        line += "' ";
    }
    return line;
}

std::variant<OrdinaryUser, std::string> ordinaryUser() {
    if (geteuid() != 0) return std::string("running programs as an ordinary user needs root");
    const char* named = std::getenv("KESTRIX_TEST_USER");
    const std::string name = named != nullptr && *named != '\0' ? named : "kestrix-test";
    const passwd* account = getpwnam(name.c_str());
    if (account == nullptr) return "no account " + name + " to run as (useradd -m " + name + ", or set KESTRIX_TEST_USER)";
    if (account->pw_uid == 0) return name + " is root, not an ordinary user";
    return OrdinaryUser{.name = name, .uid = account->pw_uid, .gid = account->pw_gid, .home = account->pw_dir};
}

}  // namespace kestrix::test

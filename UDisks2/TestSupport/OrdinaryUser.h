#pragma once

#include <sys/types.h>

#include <string>
#include <variant>
#include <vector>

namespace kestrix::test {

// The ordinary account that tests run programs as: $KESTRIX_TEST_USER, else "kestrix-test"
// (scripts/test.sh creates it where the machine has none).
struct OrdinaryUser {
    std::string name;
    uid_t uid = 0;
    gid_t gid = 0;
    std::string home;

    // The command run as this user through runuser, with their own home and folders and the
    // given variables, such as the bus to use: KEY=VALUE each.
    std::vector<std::string> command(const std::vector<std::string>& variables,
                                     const std::vector<std::string>& words) const;
    // The same as one line for a shell, each word quoted.
    std::string shellLine(const std::vector<std::string>& variables, const std::vector<std::string>& words) const;
};

// The account, or why the tests cannot run as one.
std::variant<OrdinaryUser, std::string> ordinaryUser();

}  // namespace kestrix::test

#pragma once
// A user who is not root, for the tests where permissions matter (root opens every device).
// Run as root, the tests make a throw-away system user and run programs as that user with
// setpriv; run as another user, they run programs as that user directly.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vk930::test {

struct OtherUser {
    uid_t uid = 0;
    gid_t gid = 0;
    std::string name;
    // The command line that runs `args` as this user with `env` (NAME=value each) set.
    std::vector<std::string> Command(const std::vector<std::string>& env,
                                     const std::vector<std::string>& args) const;
};

// The user, or nullopt with `why` set when there is none to be had (no useradd, not root
// and root itself, ...): the test is then skipped with that reason.
std::optional<OtherUser> NonRootUser(std::string& why);

}  // namespace vk930::test

#include "support/other_user.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vk930::test {

namespace {

constexpr char kUserName[] = "vk930-tester";

std::optional<OtherUser> Lookup(const char* name) {
    const passwd* entry = getpwnam(name);
    if (!entry) return std::nullopt;
    return OtherUser{entry->pw_uid, entry->pw_gid, entry->pw_name};
}

}  // namespace

std::vector<std::string> OtherUser::Command(const std::vector<std::string>& env,
                                            const std::vector<std::string>& args) const {
    std::vector<std::string> command;
    if (getuid() == 0)
        command = {"/usr/bin/setpriv", "--reuid=" + std::to_string(uid),
                   "--regid=" + std::to_string(gid), "--clear-groups", "--"};
    command.push_back("/usr/bin/env");
    command.insert(command.end(), env.begin(), env.end());
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

std::optional<OtherUser> NonRootUser(std::string& why) {
    if (getuid() != 0) {
        const passwd* self = getpwuid(getuid());
        return OtherUser{getuid(), getgid(), self ? self->pw_name : std::to_string(getuid())};
    }
    if (access("/usr/bin/setpriv", X_OK) != 0) {
        why = "running as root and /usr/bin/setpriv is missing: cannot run as another user";
        return std::nullopt;
    }
    if (std::optional<OtherUser> user = Lookup(kUserName)) return user;
    // Two test processes may both try; whichever loses finds the other's user.
    const std::string add = std::string("useradd --system --no-create-home --shell ") +
                            "/usr/sbin/nologin --user-group " + kUserName + " >/dev/null 2>&1";
    const int status = std::system(add.c_str());
    if (std::optional<OtherUser> user = Lookup(kUserName)) return user;
    why = "running as root and cannot make the user " + std::string(kUserName) +
          " (useradd status " + std::to_string(status) + ")";
    return std::nullopt;
}

}  // namespace vk930::test

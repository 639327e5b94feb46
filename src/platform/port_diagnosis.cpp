#include "platform/port_diagnosis.h"

#include <QDir>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vk930 {

namespace fs = std::filesystem;

namespace {

std::string FirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::optional<int> ParsePid(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    int pid = 0;
    std::size_t digits = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        if (pid > 100'000'000) return std::nullopt;
        pid = pid * 10 + (text[at] - '0');
        ++digits;
    }
    if (digits == 0 || pid <= 0) return std::nullopt;
    return pid;
}

#ifndef _WIN32

bool ProcessAlive(int pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

PortHolder HolderOf(int pid) {
    std::string name = FirstLine("/proc/" + std::to_string(pid) + "/comm");
    return {pid, name};
}

// A process whose open files include the device. Another user's processes are only seen by
// root; their lock file still names them.
std::optional<PortHolder> HolderFromProc(const fs::path& device) {
    std::error_code ec;
    const int self = getpid();
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<int> pid = ParsePid(it->path().filename().string());
        if (!pid || *pid == self || it->path().filename().string() != std::to_string(*pid))
            continue;
        std::error_code fdError;
        for (fs::directory_iterator fd(it->path() / "fd", fdError), fdEnd; !fdError && fd != fdEnd;
             fd.increment(fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd->path(), linkError) == device && !linkError)
                return HolderOf(*pid);
        }
    }
    return std::nullopt;
}

// Lock file names: "ttyUSB0" for /dev/ttyUSB0, "pts_3" for /dev/pts/3, "_tmp_vk0" for a link
// outside /dev, as Qt names them.
std::vector<std::string> LockNames(const std::string& given, const fs::path& device) {
    std::vector<std::string> names;
    for (std::string path : {given, device.string()}) {
        if (path.rfind("/dev/", 0) == 0) path.erase(0, 5);
        for (char& c : path)
            if (c == '/') c = '_';
        if (std::find(names.begin(), names.end(), path) == names.end()) names.push_back(path);
    }
    return names;
}

std::optional<PortHolder> HolderFromLockFile(const std::string& given, const fs::path& device) {
    const int self = getpid();
    for (const std::string& folder : LockFileFolders()) {
        for (const std::string& name : LockNames(given, device)) {
            const std::optional<int> pid = ParsePid(FirstLine(fs::path(folder) / ("LCK.." + name)));
            if (pid && *pid != self && ProcessAlive(*pid)) return HolderOf(*pid);
        }
    }
    return std::nullopt;
}

std::string GroupName(gid_t gid) {
    const group* g = getgrgid(gid);
    return g ? g->gr_name : std::to_string(gid);
}

std::string UserName(uid_t uid) {
    const passwd* p = getpwuid(uid);
    return p ? p->pw_name : std::to_string(uid);
}

bool SessionHasGroup(gid_t gid) {
    if (getegid() == gid) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid) return true;
    return false;
}

// Whether the user's account is in the group, as /etc/group says now (a new member's
// session still lacks it until the next login).
bool AccountHasGroup(uid_t uid, gid_t gid) {
    const passwd* p = getpwuid(uid);
    if (!p) return false;
    const std::string user = p->pw_name;
    const gid_t primary = p->pw_gid;
    if (primary == gid) return true;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (getgrouplist(user.c_str(), primary, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (getgrouplist(user.c_str(), primary, groups.data(), &count) < 0) return false;
    }
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid) return true;
    return false;
}

#endif

}  // namespace

std::vector<std::string> LockFileFolders() {
    std::vector<std::string> folders = {"/var/lock",        "/run/lock",       "/etc/locks",
                                        "/var/spool/locks", "/var/spool/uucp", "/tmp",
                                        "/var/tmp"};
    const std::string temp = QDir::tempPath().toStdString();
    if (std::find(folders.begin(), folders.end(), temp) == folders.end()) folders.push_back(temp);
    return folders;
}

std::string DescribeHolder(const PortHolder& holder) {
    std::string text = "process " + std::to_string(holder.pid);
    if (!holder.name.empty()) text += " (" + holder.name + ")";
    return text;
}

#ifndef _WIN32

std::optional<PortHolder> FindPortHolder(const std::string& devicePath) {
    std::error_code ec;
    const fs::path device = fs::canonical(devicePath, ec);
    if (ec) return std::nullopt;
    if (std::optional<PortHolder> holder = HolderFromProc(device)) return holder;
    return HolderFromLockFile(devicePath, device);
}

std::optional<std::string> PermissionProblem(const std::string& devicePath) {
    struct stat info {};
    if (stat(devicePath.c_str(), &info) != 0) return std::nullopt;
    if (access(devicePath.c_str(), R_OK | W_OK) == 0) return std::nullopt;
    const uid_t uid = getuid();
    const std::string user = UserName(uid);
    const std::string group = GroupName(info.st_gid);
    const std::string device = "'" + devicePath + "'";
    if ((info.st_mode & S_IRGRP) == 0 || (info.st_mode & S_IWGRP) == 0)
        return "permission denied: " + device + " may be read and written by its owner '" +
               UserName(info.st_uid) + "' only, not by user '" + user +
               "'; a udev rule giving the device to group 'dialout' (MODE=\"0660\") fixes that";
    if (SessionHasGroup(info.st_gid))
        return "permission denied: " + device + " refuses user '" + user + "'";
    if (AccountHasGroup(uid, info.st_gid))
        return "permission denied: user '" + user + "' is in group '" + group + "' of " + device +
               ", but this session started before: log out and in again";
    return "permission denied: " + device + " belongs to group '" + group + "', which user '" +
           user + "' is not in; fix: sudo usermod -aG " + group +
           " $USER, then log out and in again";
}

#else

std::optional<PortHolder> FindPortHolder(const std::string&) {
    return std::nullopt;
}

std::optional<std::string> PermissionProblem(const std::string&) {
    return std::nullopt;
}

#endif

std::optional<std::string> SuggestDevicePath(const std::string& text) {
#ifdef _WIN32
    (void)text;
    return std::nullopt;
#else
    if (text.empty() || text.find('/') != std::string::npos) return std::nullopt;
    if (text.size() > 3 && (text.rfind("COM", 0) == 0 || text.rfind("com", 0) == 0)) {
        const std::optional<int> number = ParsePid(text.substr(3));
        if (number && std::to_string(*number) == text.substr(3))
            return "/dev/ttyS" + std::to_string(*number - 1);
    }
    if (text.rfind("tty", 0) == 0) return "/dev/" + text;
    return std::nullopt;
#endif
}

std::string ExplainOpenFailure(const std::string& devicePath, const std::string& driverReason) {
    if (std::optional<PortHolder> holder = FindPortHolder(devicePath))
        return "in use by " + DescribeHolder(*holder) +
               ": end that program, or choose another port";
    if (std::optional<std::string> problem = PermissionProblem(devicePath)) return *problem;
    return "cannot open: " + driverReason;
}

}  // namespace vk930

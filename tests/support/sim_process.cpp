#include "support/sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace vk930::test {

namespace {

constexpr auto kStartWait = std::chrono::seconds(10);
// How long Wait lets it end by itself before stopping it.
constexpr auto kEndWait = std::chrono::seconds(10);
constexpr auto kLookInterval = std::chrono::milliseconds(5);

}  // namespace

SimProcess::SimProcess(const std::string& program, const std::string& linkPath,
                       const std::string& spec, bool pace)
    : errPath_(linkPath + ".err") {
    std::vector<std::string> args = {program, "--link", linkPath};
    if (pace) args.push_back("--pace");
    args.push_back(spec);
    pid_ = fork();
    if (pid_ == 0) {
        const int err = open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int none = open("/dev/null", O_RDWR);
        dup2(none, 0);
        dup2(none, 1);
        dup2(err, 2);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    const auto until = std::chrono::steady_clock::now() + kStartWait;
    std::error_code ec;
    while (std::chrono::steady_clock::now() < until && Reap(WNOHANG) < 0) {
        if (std::filesystem::is_symlink(linkPath, ec)) {
            ready_ = true;
            return;
        }
        std::this_thread::sleep_for(kLookInterval);
    }
}

int SimProcess::Reap(int options) {
    if (pid_ <= 0) return status_;
    int status = 0;
    if (waitpid(pid_, &status, options) != pid_) return -1;
    pid_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return status_;
}

int SimProcess::Stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    return Reap(0);
}

int SimProcess::Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    return Reap(0);
}

int SimProcess::Wait() {
    const auto until = std::chrono::steady_clock::now() + kEndWait;
    while (std::chrono::steady_clock::now() < until) {
        if (Reap(WNOHANG) >= 0) return status_;
        std::this_thread::sleep_for(kLookInterval);
    }
    return Stop();
}

std::string SimProcess::Errors() const {
    return ReadFile(errPath_);
}

bool SimProcess::WaitForErrors(const std::string& text) const {
    const auto until = std::chrono::steady_clock::now() + kStartWait;
    while (Errors().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(kLookInterval);
    }
    return true;
}

}  // namespace vk930::test

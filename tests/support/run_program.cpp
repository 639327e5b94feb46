#include "support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/temp_dir.h"

namespace vk930::test {

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingDir) {
    return RunProgram(program, args, workingDir, {});
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingDir, const std::function<bool(pid_t)>& watch) {
    TempDir dir;
    const std::string outPath = dir.File("out"), errPath = dir.File("err");
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProgramRun run;
    int status = 0;
    bool watched = !watch;
    while (waitpid(pid, &status, watched ? 0 : WNOHANG) == 0) {
        watched = watch(pid);
        if (!watched) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

ProgramRun RunProgramSignalled(const std::string& program, const std::vector<std::string>& args,
                               const std::string& trigger, const std::vector<int>& toSend) {
    TempDir dir;
    const std::string errPath = dir.File("err");
    int out[2];
    if (pipe(out) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(out[1], 1);
        dup2(err, 2);
        close(out[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    ProgramRun run;
    bool sent = false;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        run.out.append(buffer, static_cast<std::size_t>(n));
        if (sent || run.out.find(trigger) == std::string::npos) continue;
        sent = true;
        for (std::size_t i = 0; i < toSend.size(); ++i) {
            if (i > 0) usleep(50 * 1000);
            kill(pid, toSend[i]);
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = ReadFile(errPath);
    return run;
}

ProgramRun RunProgramLosingOutput(const std::string& program, const std::vector<std::string>& args,
                                  LostOutput lost) {
    TempDir dir;
    const std::string errPath = dir.File("err");
    int broken[2];
    if (pipe(broken) != 0) return {};
    close(broken[0]);  // nobody will ever read
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(err, 2);
        if (lost == LostOutput::kFullDisk) dup2(open("/dev/full", O_WRONLY), 1);
        if (lost == LostOutput::kClosed) close(1);
        if (lost == LostOutput::kBrokenPipe) dup2(broken[1], 1);
        // The test runner may ignore SIGPIPE; the program must not depend on it either way.
        signal(SIGPIPE, SIG_DFL);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(broken[1]);
    ProgramRun run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = ReadFile(errPath);
    return run;
}

}  // namespace vk930::test

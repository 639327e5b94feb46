// Start-up benchmark: starts several programs in turn, many times, and prints for each the
// median time from the start of the process to its first painted window and its median peak
// memory, with the ratio of the first program to each other one.
//   bench_startup RUNS COMMAND... [-- COMMAND...]...
// Each program prints "shown <monotonic ns>" once painted (vk930config with
// --exit-when-shown) and ends.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double startMs = 0;  // process start to first painted window
    double cpuMs = 0;    // CPU time of the whole run (start, first paint, end)
    long peakKb = 0;     // peak resident set size
};

long long Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts the program with its standard output on a pipe; -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& command, int& output) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    output = out[0];
    return spawned == 0 ? pid : -1;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(fd);
    return text;
}

// Runs the program once; false when it did not report a painted window.
bool RunOnce(const std::vector<std::string>& command, Sample& sample) {
    int output = -1;
    const long long started = Now();
    const pid_t pid = Spawn(command, output);
    if (pid < 0) return false;
    const std::string text = ReadAll(output);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const size_t at = text.find("shown ");
    if (at == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    sample.startMs = (std::atoll(text.c_str() + at + 6) - started) / 1e6;
    sample.peakKb = usage.ru_maxrss;
    sample.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return true;
}

template <class T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

std::vector<std::vector<std::string>> Commands(int argc, char** argv) {
    std::vector<std::vector<std::string>> commands(1);
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--")
            commands.emplace_back();
        else
            commands.back().push_back(argv[i]);
    }
    return commands;
}

std::string NameOf(const std::vector<std::string>& command) {
    std::string name = command[0].substr(command[0].find_last_of('/') + 1);
    for (size_t i = 1; i < command.size(); ++i)
        if (command[i] == "--text") name += " --text";
    return name;
}

struct Summary {
    double ms, cpuMs;
    long kb;
};

Summary Summarize(const std::vector<Sample>& samples) {
    std::vector<double> times, cpus;
    std::vector<long> peaks;
    for (const Sample& s : samples) {
        times.push_back(s.startMs);
        cpus.push_back(s.cpuMs);
        peaks.push_back(s.peakKb);
    }
    return {Median(times), Median(cpus), Median(peaks)};
}

// Starts each program `runs` times, in turn; empty when one of them did not show its window.
std::vector<std::vector<Sample>> Measure(const std::vector<std::vector<std::string>>& commands,
                                         int runs) {
    std::vector<std::vector<Sample>> samples(commands.size());
    Sample warmUp;
    for (const auto& command : commands) RunOnce(command, warmUp);  // caches, first-start files
    for (int run = 0; run < runs; ++run) {
        for (size_t p = 0; p < commands.size(); ++p) {
            Sample sample;
            if (!RunOnce(commands[p], sample)) {
                std::fprintf(stderr, "bench_startup: %s did not show its window\n",
                             NameOf(commands[p]).c_str());
                return {};
            }
            samples[p].push_back(sample);
        }
    }
    return samples;
}

int main(int argc, char** argv) {
    const std::vector<std::vector<std::string>> commands = Commands(argc, argv);
    if (argc < 3 || commands.size() < 2 || commands.back().empty()) {
        std::fprintf(stderr,
                     "usage: bench_startup RUNS COMMAND... -- COMMAND... [-- COMMAND...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::vector<std::vector<Sample>> samples = Measure(commands, runs);
    if (samples.empty()) return 1;
    std::vector<Summary> summary;
    for (size_t p = 0; p < commands.size(); ++p) {
        summary.push_back(Summarize(samples[p]));
        std::printf(
            "  %-26s first painted window after %6.1f ms (CPU of the whole run %6.1f ms), peak "
            "memory %6ld KiB (medians of %d)\n",
            NameOf(commands[p]).c_str(), summary[p].ms, summary[p].cpuMs, summary[p].kb, runs);
    }
    for (size_t p = 1; p < commands.size(); ++p)
        std::printf(
            "  %s / %s: time %.2f (CPU %.2f), memory %.2f (goal <= 1.30 against the bare "
            "window)\n",
            NameOf(commands[0]).c_str(), NameOf(commands[p]).c_str(), summary[0].ms / summary[p].ms,
            summary[0].cpuMs / summary[p].cpuMs,
            static_cast<double>(summary[0].kb) / static_cast<double>(summary[p].kb));
    return 0;
}

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

// Runs the program once; false when it did not report a painted window.
bool RunOnce(const std::vector<std::string>& command, Sample& sample) {
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const long long started = Now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) return false;
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(out[0]);
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

int main(int argc, char** argv) {
    const std::vector<std::vector<std::string>> commands = Commands(argc, argv);
    if (argc < 3 || commands.size() < 2 || commands.back().empty()) {
        std::fprintf(stderr,
                     "usage: bench_startup RUNS COMMAND... -- COMMAND... [-- COMMAND...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<std::vector<Sample>> samples(commands.size());
    Sample warmUp;
    for (const auto& command : commands) RunOnce(command, warmUp);  // caches, first-start files
    for (int run = 0; run < runs; ++run) {
        for (size_t p = 0; p < commands.size(); ++p) {
            Sample sample;
            if (!RunOnce(commands[p], sample)) {
                std::fprintf(stderr, "bench_startup: %s did not show its window\n",
                             NameOf(commands[p]).c_str());
                return 1;
            }
            samples[p].push_back(sample);
        }
    }
    std::vector<double> ms(commands.size()), cpu(commands.size());
    std::vector<long> kb(commands.size());
    for (size_t p = 0; p < commands.size(); ++p) {
        std::vector<double> times, cpus;
        std::vector<long> peaks;
        for (const Sample& s : samples[p]) {
            times.push_back(s.startMs);
            cpus.push_back(s.cpuMs);
            peaks.push_back(s.peakKb);
        }
        ms[p] = Median(times);
        cpu[p] = Median(cpus);
        kb[p] = Median(peaks);
        std::printf(
            "  %-26s first painted window after %6.1f ms (CPU of the whole run %6.1f ms), peak "
            "memory %6ld KiB (medians of %d)\n",
            NameOf(commands[p]).c_str(), ms[p], cpu[p], kb[p], runs);
    }
    for (size_t p = 1; p < commands.size(); ++p)
        std::printf(
            "  %s / %s: time %.2f (CPU %.2f), memory %.2f (goal <= 1.30 against the bare "
            "window)\n",
            NameOf(commands[0]).c_str(), NameOf(commands[p]).c_str(), ms[0] / ms[p],
            cpu[0] / cpu[p], static_cast<double>(kb[0]) / static_cast<double>(kb[p]));
    return 0;
}

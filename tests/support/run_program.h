#pragma once
// Runs a program of the build with arguments (no shell) and collects what it printed.
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace vk930::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `workingDir`: where the program runs (empty: here).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingDir = "");
// The same; while it runs, `watch` is asked every few milliseconds, with its process id, until
// it answers true: for a test that acts at a moment of the run (a signal, a killed peer).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingDir, const std::function<bool(pid_t)>& watch);

// Runs the program and, once its standard output holds `trigger`, sends it `toSend` in turn
// (a short pause between them, so that none is merged into the one before). Reads the output
// as it comes; the exit code is 128 + the signal when one ended the program.
ProgramRun RunProgramSignalled(const std::string& program, const std::vector<std::string>& args,
                               const std::string& trigger, const std::vector<int>& toSend);

// Where a run's standard output goes when it cannot be written.
enum class LostOutput {
    kFullDisk,    // /dev/full: every write fails with ENOSPC
    kClosed,      // descriptor 1 closed
    kBrokenPipe,  // a pipe whose reading end is already closed: EPIPE (or SIGPIPE)
};
// Runs the program with its output lost that way; `out` stays empty.
ProgramRun RunProgramLosingOutput(const std::string& program, const std::vector<std::string>& args,
                                  LostOutput lost);

}  // namespace vk930::test

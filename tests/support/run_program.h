#pragma once
// Runs a program of the build with arguments (no shell) and collects what it printed.
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

}  // namespace vk930::test

// The next-ID counter over a series of terminals: `vk930ctl commid --next` run 20 times, each
// on a factory-fresh simulated terminal with a fault at one step of the command (a refused
// write, a stall, a hang-up, Ctrl+C of vk930ctl, the simulator killed). No two terminals may
// get the same ID, and the counter may pass an ID by only with a log entry saying so.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/terminal_files.h"

namespace vk930::test {
namespace {

constexpr int kFirstStored = 500;
constexpr int kFactoryId = 1;  // what a fresh terminal carries

enum class Act { kNone, kInterruptProgram, kKillSimulator };

struct Step {
    std::string simOptions;  // the simulator's faults
    Act act = Act::kNone;
    std::string when;  // the act follows the first simulator trace line starting so
};

std::string Describe(const Step& step) {
    std::string text = step.simOptions.empty() ? "healthy" : step.simOptions;
    if (step.act == Act::kInterruptProgram) text += ", SIGINT to vk930ctl after " + step.when;
    if (step.act == Act::kKillSimulator) text += ", SIGKILL to vk930-sim after " + step.when;
    return text;
}

// Every step of the command in turn: its requests are 1 ReadInfo and 2 GetCommIdText (the ID
// the terminal carries before, so that a failed write can name what it may leave), 3 ReadInfo,
// 4 and 5 the ID bytes (the low one first when a cut after the high one would leave an ID
// handed out already), 6 the reset, 7 on the identification. A signal lands while the program
// waits (on a stalled answer or the restart), so the test does not race the program.
const std::vector<Step>& Steps() {
    static const std::vector<Step> kSteps = {
        {""},
        {"fail=write:1"},
        {"fail=write:2"},
        {"fail=reset"},
        {"stall=1"},
        {"stall=2"},
        {"stall=3"},
        {"stall=4"},
        {"stall=5"},
        {"stall=6"},
        {"stall=7"},
        {"hangup=5"},
        {"hangup=6"},
        {"corrupt=5"},
        {"stall=4", Act::kInterruptProgram, "ReadInfo()=1"},
        {"stall=5", Act::kInterruptProgram, "WriteByte("},
        {"", Act::kInterruptProgram, "ResetDevice()"},
        {"", Act::kInterruptProgram, "ReadPage0(0,255)"},
        {"stall=4", Act::kKillSimulator, "ReadInfo()=1"},
        {"stall=5", Act::kKillSimulator, "WriteByte("},
        {"", Act::kKillSimulator, "ResetDevice()"},
        {""},
    };
    return kSteps;
}

bool TraceReached(const std::string& trace, const std::string& prefix) {
    std::istringstream lines(ReadFile(trace));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0) return true;
    return false;
}

bool LoggedFailure(const std::string& porcelain) {
    return porcelain.find("\n0\t") != std::string::npos || porcelain.rfind("0\t", 0) == 0;
}

TEST(CommIdSequence, NoIdIsGivenTwiceAndNoneIsPassedWithoutSaying) {
    TempDir dir;
    const std::string settings = dir.File("settings.ini");
    WriteFile(settings, "[General]\ncommID=" + std::to_string(kFirstStored) + "\n");
    std::set<int> given;  // the IDs of the series the terminals carry
    for (std::size_t i = 0; i < Steps().size(); ++i) {
        const Step& step = Steps()[i];
        SCOPED_TRACE("run " + std::to_string(i + 1) + ": " + Describe(step));
        const std::filesystem::path run = dir.Path() / ("run" + std::to_string(i + 1));
        std::filesystem::create_directory(run);
        const std::string state = (run / "t.bin").string(), trace = (run / "sim.trace").string();
        const std::string link = (run / "vk").string();
        SimProcess sim(VK930SIM_PATH, link,
                       "sim:" + state + "?trace=" + trace +
                           (step.simOptions.empty() ? "" : "&" + step.simOptions));
        ASSERT_TRUE(sim.Ready()) << sim.Errors();
        const int before = StoredCommId(settings);
        bool acted = step.act == Act::kNone;
        const ProgramRun ctl =
            RunProgram(VK930CTL_PATH,
                       {"--settings", settings, "--porcelain", "--link", link, "commid", "--next"},
                       "", [&](pid_t pid) {
                           if (acted || !TraceReached(trace, step.when)) return acted;
                           if (step.act == Act::kInterruptProgram)
                               kill(pid, SIGINT);
                           else
                               sim.Kill();
                           acted = true;
                           return true;
                       });
        sim.Stop();
        EXPECT_TRUE(acted) << "the step was never reached:\n" << ctl.out;
        const int after = StoredCommId(settings);
        const int carried = CarriedId(state, kFactoryId);
        ASSERT_TRUE(after == before || after == before + 1)
            << "the counter went from " << before << " to " << after;
        if (carried > kFirstStored) {
            EXPECT_TRUE(given.insert(carried).second) << "ID " << carried << " given twice";
            EXPECT_EQ(after, carried)
                << "the terminal carries an ID the counter does not hold: the next terminal "
                   "would get it too\n"
                << ctl.out;
        } else if (carried != kFactoryId && step.act != Act::kInterruptProgram) {
            // Only the high byte reached it: the run must say the ID was not written. (An
            // interrupted run says what it says about the interruption.)
            EXPECT_NE(ctl.out.find("0\tCannot write ID!"), std::string::npos) << ctl.out;
        }
        if (after == before + 1 && carried != after)
            EXPECT_TRUE(LoggedFailure(ctl.out))
                << "ID " << after << " passed by without a log entry\n"
                << ctl.out;
    }
    // The healthy runs at both ends number their terminals.
    EXPECT_TRUE(given.count(kFirstStored + 1));
    EXPECT_EQ(StoredCommId(settings), *given.rbegin());
}

}  // namespace
}  // namespace vk930::test

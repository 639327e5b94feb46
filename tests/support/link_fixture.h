#pragma once
// A form view on a simulated terminal reached over either link: the in-process one, or the
// serial link to a vk930-sim process on a pseudo-terminal. The same test body runs on both
// (a parameterised test over BothLinks()), with the same expectations on log, fields and the
// trace of link calls.
//
//   class GetTest : public BothLinksFixture {};
//   TEST_P(GetTest, ...) { UseTerminal("fail=page1"); View().OnGet(); ... }
//   INSTANTIATE_TEST_SUITE_P(Links, GetTest, BothLinks(), LinkKindName);
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/firmware/upload_procedure.h"
#include "core/terminal/terminal_model.h"
#include "core/wire/serial_link.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace vk930::test {

enum class LinkKind { kInProcess, kSerial };

inline auto BothLinks() {
    return ::testing::Values(LinkKind::kInProcess, LinkKind::kSerial);
}
std::string LinkKindName(const ::testing::TestParamInfo<LinkKind>& info);

// Qt Serial Port wants an application object in the process, as in the programs.
void EnsureQtApplication();

// Short time-outs for the serial link in tests; the production values are the defaults.
WireTimings TestWireTimings();

class LinkFixtureBase {
  public:
    virtual ~LinkFixtureBase();

    // Builds a factory-fresh terminal from sim options such as "type=5&fail=page0" (empty:
    // defaults). Its pages live in a state file in the test's folder.
    void UseTerminal(const std::string& options);
    // Every COM port reaches nothing: in process no link at all, on the serial link a device
    // path that does not exist. Every Connect fails.
    void UseNoTerminal();
    // The serial link only: stops the simulator and starts another on the same device path
    // and state file, with new options; the link and the view stay as they are.
    void ReplaceSimulator(const std::string& options);

    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // The terminal's pages as its state file holds them.
    PageBytes Page(int page) { return Terminal().Page(page); }
    // The terminal, to set it up. On the serial link it is a second model on the same state
    // file: what it writes the simulator sees, but its counters are its own.
    TerminalModel& Terminal() { return *terminal_; }
    // Resets the terminal carried out.
    int ResetCount();
    CVK900ConfigView& View();
    LinkKind Kind() const { return kind_; }
    const std::string& StateFile() const { return stateFile_; }
    SimProcess* Simulator() { return sim_.get(); }
    // Messages the serial link gave for the technician (device missing, gone).
    const std::vector<std::string>& LinkErrors() const { return linkErrors_; }

    // The link the view drives (with its trace around it).
    CLinkCtrl& Link() { return *link_; }

    FakeHost host;
    MemorySettings settings;
    AppState state;
    // Where firmware uploads look for the boot file (set before UseTerminal).
    BootFileLookup bootFiles;

  protected:
    LinkKind kind_ = LinkKind::kInProcess;
    TempDir dir_;

  private:
    std::unique_ptr<CLinkCtrl> MakeSerialLink();
    void Wrap(std::unique_ptr<CLinkCtrl> inner);
    void DropTerminal();
    void StartSimulator(const std::string& options);

    std::string stateFile_;
    std::string devicePath_;
    std::string simTrace_;
    std::vector<std::string> calls_;
    std::vector<std::string> linkErrors_;
    std::shared_ptr<TerminalModel> terminal_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<CLinkCtrl> link_;
    std::unique_ptr<CVK900ConfigView> view_;
};

class BothLinksFixture : public LinkFixtureBase, public ::testing::TestWithParam<LinkKind> {
  protected:
    BothLinksFixture() { kind_ = GetParam(); }
};

class SerialLinkFixture : public LinkFixtureBase, public ::testing::Test {
  protected:
    SerialLinkFixture() { kind_ = LinkKind::kSerial; }
};

// For tests of what a command makes of its input rather than of the link: in process only.
class InProcessLinkFixture : public LinkFixtureBase, public ::testing::Test {};

}  // namespace vk930::test

#pragma once
// A form view on a simulated terminal in process, with a recording host, in-memory settings
// and the list of link calls as the trace writes them. The terminal's pages live in a state
// file in the test's folder. support/link_fixture.h runs the same over the serial link.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/firmware/upload_procedure.h"
#include "core/terminal/terminal_model.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"
#include "support/temp_dir.h"

namespace vk930::test {

class CommandFixtureBase {
  public:
    virtual ~CommandFixtureBase();

    // Builds a factory-fresh terminal from sim options such as "type=5&fail=page0" (empty:
    // defaults). Its pages live in a state file in the test's folder.
    void UseTerminal(const std::string& options);
    // Every COM port reaches nothing: every Connect fails.
    void UseNoTerminal();

    // Calls made on the link since the last ClearCalls.
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // The terminal's pages as its state file holds them.
    PageBytes Page(int page) { return Terminal().Page(page); }
    // The terminal, to set it up.
    TerminalModel& Terminal() { return *terminal_; }
    // Resets the terminal carried out.
    virtual int ResetCount();
    CVK900ConfigView& View();
    const std::string& StateFile() const { return stateFile_; }
    // The link the view drives (with its trace around it).
    CLinkCtrl& Link() { return *link_; }

    FakeHost host;
    MemorySettings settings;
    AppState state;
    // Where firmware uploads look for the boot file (set before UseTerminal).
    BootFileLookup bootFiles;

  protected:
    // The link to the terminal just built from `options`: in process, a SimLink on it.
    virtual std::unique_ptr<CLinkCtrl> TerminalLink(const std::string& options);
    // A link on which every Connect fails.
    virtual std::unique_ptr<CLinkCtrl> NoTerminalLink();
    // Drops the view and the link (which closes the port); the terminal stays.
    void DropLink();
    // Drops the link, then the terminal (UseTerminal and UseNoTerminal start with it).
    virtual void DropTerminal();

    TempDir dir_;
    std::string stateFile_;

  private:
    void Wrap(std::unique_ptr<CLinkCtrl> inner);

    std::vector<std::string> calls_;
    std::shared_ptr<TerminalModel> terminal_;
    std::unique_ptr<CLinkCtrl> link_;
    std::unique_ptr<CVK900ConfigView> view_;
};

// For tests of what a command makes of its input rather than of the link: in process only.
class CommandFixture : public CommandFixtureBase, public ::testing::Test {};

}  // namespace vk930::test

#pragma once
// A form view on a simulated terminal in memory, with a recording host, in-memory settings
// and the list of link calls as the trace writes them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/tracing_link.h"
#include "core/terminal/sim_link.h"
#include "core/terminal/terminal_model.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"

namespace vk930::test {

class CommandFixture : public ::testing::Test {
  protected:
    // Builds the terminal from sim options such as "type=5&fail=page0" (empty: defaults).
    void UseTerminal(const std::string& options);
    // Builds the view on COM ports that reach nothing: every Connect fails.
    void UseNoTerminal();
    // Calls made on the link since the last ClearCalls.
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    PageBytes Page(int page) { return terminal_->Page(page); }
    CVK900ConfigView& View();
    TerminalModel& Terminal() { return *terminal_; }
    CLinkCtrl& Link() { return *link_; }

    FakeHost host;
    MemorySettings settings;
    AppState state;
    // Where the terminal's firmware uploads look for the boot file (set before UseTerminal).
    BootFileLookup bootFiles;

  private:
    std::vector<std::string> calls_;
    std::shared_ptr<TerminalModel> terminal_;
    std::unique_ptr<CLinkCtrl> link_;
    std::unique_ptr<CVK900ConfigView> view_;
};

}  // namespace vk930::test

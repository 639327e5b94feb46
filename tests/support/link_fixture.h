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

#include "core/wire/serial_link.h"
#include "support/command_fixture.h"
#ifndef _WIN32
#include "support/sim_process.h"
#endif

namespace vk930::test {

enum class LinkKind { kInProcess, kSerial };

// The Windows build has no vk930-sim and no pseudo-terminals: the in-process link only.
inline auto BothLinks() {
#ifdef _WIN32
    return ::testing::Values(LinkKind::kInProcess);
#else
    return ::testing::Values(LinkKind::kInProcess, LinkKind::kSerial);
#endif
}
std::string LinkKindName(const ::testing::TestParamInfo<LinkKind>& info);

// Qt Serial Port wants an application object in the process, as in the programs.
void EnsureQtApplication();

// Short time-outs for the serial link in tests; the production values are the defaults.
WireTimings TestWireTimings();

// The command fixture on either link: in process as CommandFixture, or the serial link to a
// vk930-sim process serving the same state file.
class LinkFixtureBase : public CommandFixtureBase {
  public:
    ~LinkFixtureBase() override;

    // The serial link only: stops the simulator and starts another on the same device path
    // and state file, with new options; the link and the view stay as they are.
    void ReplaceSimulator(const std::string& options);
    // On the serial link, Terminal() is a second model on the same state file: what it writes
    // the simulator sees, but its counters are its own; ResetCount reads the simulator's trace.
    int ResetCount() override;
    LinkKind Kind() const { return kind_; }
#ifndef _WIN32
    SimProcess* Simulator() {
        return sim_.get();
    }
#endif
    // Messages the serial link gave for the technician (device missing, gone).
    const std::vector<std::string>& LinkErrors() const {
        return linkErrors_;
    }

  protected:
    std::unique_ptr<CLinkCtrl> TerminalLink(const std::string& options) override;
    std::unique_ptr<CLinkCtrl> NoTerminalLink() override;
    // The simulator goes after the link, before the terminal's files are made anew.
    void DropTerminal() override;

    LinkKind kind_ = LinkKind::kInProcess;

  private:
    std::unique_ptr<CLinkCtrl> MakeSerialLink();
    void StartSimulator(const std::string& options);

    std::string devicePath_;
    std::string simTrace_;
    std::vector<std::string> linkErrors_;
#ifndef _WIN32
    std::unique_ptr<SimProcess> sim_;
#endif
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
using InProcessLinkFixture = CommandFixture;

}  // namespace vk930::test

#include "support/command_fixture.h"

#include <cstdio>

#include "core/link/port_router.h"
#include "core/link/tracing_link.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/sim_link.h"

namespace vk930::test {

CommandFixtureBase::~CommandFixtureBase() {
    DropTerminal();
}

void CommandFixtureBase::DropLink() {
    view_.reset();
    link_.reset();
}

void CommandFixtureBase::DropTerminal() {
    DropLink();
    terminal_.reset();
}

void CommandFixtureBase::UseTerminal(const std::string& options) {
    DropTerminal();
    // A factory-fresh terminal: nothing of an earlier one in this test stays behind.
    stateFile_ = dir_.File("terminal.bin");
    for (const std::string& file : {stateFile_, FirmwareFilePath(stateFile_),
                                    VersionFilePath(stateFile_), dir_.File("sim.trace")})
        std::remove(file.c_str());
    Result<LinkSpec> spec =
        ParseLinkSpec("sim:" + stateFile_ + (options.empty() ? "" : "?" + options));
    ASSERT_TRUE(spec.ok()) << spec.error();
    Result<std::unique_ptr<TerminalModel>> terminal = TerminalModel::Create(spec->sim);
    ASSERT_TRUE(terminal.ok()) << terminal.error();
    terminal_ = std::move(terminal.value());
    Wrap(TerminalLink(options));
}

void CommandFixtureBase::UseNoTerminal() {
    DropTerminal();
    Wrap(NoTerminalLink());
}

std::unique_ptr<CLinkCtrl> CommandFixtureBase::TerminalLink(const std::string&) {
    return std::make_unique<SimLink>(terminal_, bootFiles);
}

std::unique_ptr<CLinkCtrl> CommandFixtureBase::NoTerminalLink() {
    auto nothing = [](Short) -> Result<std::unique_ptr<CLinkCtrl>> {
        return std::unique_ptr<CLinkCtrl>();
    };
    return std::make_unique<PortRouter>(nothing, nullptr);
}

void CommandFixtureBase::Wrap(std::unique_ptr<CLinkCtrl> inner) {
    if (!inner) return;  // the link could not be built; the failure is reported already
    link_ = std::make_unique<TracingLink>(std::move(inner), [this](const std::string& line) {
        calls_.push_back(line);
        host.events.push_back("link " + line);
    });
    view_ = std::make_unique<CVK900ConfigView>(host, *link_, settings, state);
}

int CommandFixtureBase::ResetCount() {
    return terminal_->ResetCount();
}

CVK900ConfigView& CommandFixtureBase::View() {
    if (!view_) UseTerminal("");
    return *view_;
}

}  // namespace vk930::test

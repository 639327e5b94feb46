#include "support/command_fixture.h"

#include "core/link/port_router.h"
#include "core/terminal/link_spec.h"

namespace vk930::test {

void CommandFixture::UseTerminal(const std::string& options) {
    Result<LinkSpec> spec = ParseLinkSpec(options.empty() ? "sim" : "sim?" + options);
    ASSERT_TRUE(spec.ok()) << spec.error();
    Result<std::unique_ptr<TerminalModel>> terminal = TerminalModel::Create(spec->sim);
    ASSERT_TRUE(terminal.ok()) << terminal.error();
    terminal_ = std::move(terminal.value());
    link_ = std::make_unique<TracingLink>(std::make_unique<SimLink>(terminal_, bootFiles),
                                          [this](const std::string& line) {
                                              calls_.push_back(line);
                                              host.events.push_back("link " + line);
                                          });
    view_ = std::make_unique<CVK900ConfigView>(host, *link_, settings, state);
}

void CommandFixture::UseNoTerminal() {
    terminal_.reset();
    auto nothing = [](Short) -> Result<std::unique_ptr<CLinkCtrl>> {
        return std::unique_ptr<CLinkCtrl>();
    };
    link_ = std::make_unique<TracingLink>(std::make_unique<PortRouter>(nothing, nullptr),
                                          [this](const std::string& line) {
                                              calls_.push_back(line);
                                              host.events.push_back("link " + line);
                                          });
    view_ = std::make_unique<CVK900ConfigView>(host, *link_, settings, state);
}

CVK900ConfigView& CommandFixture::View() {
    if (!view_) UseTerminal("");
    return *view_;
}

}  // namespace vk930::test

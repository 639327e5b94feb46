#include "support/link_fixture.h"

#include <QCoreApplication>
#include <cstdio>
#include <sstream>

#include "core/link/port_router.h"
#include "core/link/tracing_link.h"
#include "core/terminal/sim_link.h"
#include "platform/qt_serial_port.h"

namespace vk930::test {

void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "link_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

namespace {

// Long enough for a busy machine; a slow answer only costs a repeat.
constexpr Millis kTestTurnaround{150};
constexpr Millis kTestBootReady{600};
constexpr Millis kTestBootSync{150};

}  // namespace

std::string LinkKindName(const ::testing::TestParamInfo<LinkKind>& info) {
    return info.param == LinkKind::kSerial ? "Serial" : "InProcess";
}

WireTimings TestWireTimings() {
    WireTimings timings;
    timings.turnaround = kTestTurnaround;
    timings.boot.ready = kTestBootReady;
    timings.boot.sync = kTestBootSync;
    return timings;
}

LinkFixtureBase::~LinkFixtureBase() {
    DropTerminal();
}

void LinkFixtureBase::DropTerminal() {
    view_.reset();
    link_.reset();  // closes the port before the simulator goes
    sim_.reset();
    terminal_.reset();
}

void LinkFixtureBase::UseTerminal(const std::string& options) {
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
    std::unique_ptr<CLinkCtrl> inner;
    if (kind_ == LinkKind::kSerial) {
        EnsureQtApplication();
        StartSimulator(options);
        inner = MakeSerialLink();
    } else {
        inner = std::make_unique<SimLink>(terminal_, bootFiles);
    }
    Wrap(std::move(inner));
}

void LinkFixtureBase::UseNoTerminal() {
    DropTerminal();
    std::unique_ptr<CLinkCtrl> inner;
    if (kind_ == LinkKind::kSerial) {
        EnsureQtApplication();
        devicePath_ = dir_.File("no-such-device");
        inner = MakeSerialLink();
    } else {
        auto nothing = [](Short) -> Result<std::unique_ptr<CLinkCtrl>> {
            return std::unique_ptr<CLinkCtrl>();
        };
        inner = std::make_unique<PortRouter>(nothing, nullptr);
    }
    Wrap(std::move(inner));
}

void LinkFixtureBase::Wrap(std::unique_ptr<CLinkCtrl> inner) {
    link_ = std::make_unique<TracingLink>(std::move(inner), [this](const std::string& line) {
        calls_.push_back(line);
        host.events.push_back("link " + line);
    });
    view_ = std::make_unique<CVK900ConfigView>(host, *link_, settings, state);
}

void LinkFixtureBase::StartSimulator(const std::string& options) {
    devicePath_ = dir_.File("vk");
    simTrace_ = dir_.File("sim.trace");
    const std::string spec =
        "sim:" + stateFile_ + "?trace=" + simTrace_ + (options.empty() ? "" : "&" + options);
    sim_.reset();
    sim_ = std::make_unique<SimProcess>(VK930SIM_PATH, devicePath_, spec);
    ASSERT_TRUE(sim_->Ready()) << "vk930-sim did not start: " << sim_->Errors();
}

void LinkFixtureBase::ReplaceSimulator(const std::string& options) {
    ASSERT_EQ(kind_, LinkKind::kSerial);
    sim_->Stop();
    StartSimulator(options);
}

std::unique_ptr<CLinkCtrl> LinkFixtureBase::MakeSerialLink() {
    return std::make_unique<SerialLink>(
        std::make_unique<QtSerialPort>(devicePath_), TestWireTimings(),
        [this](const std::string& m) { linkErrors_.push_back(m); }, bootFiles);
}

int LinkFixtureBase::ResetCount() {
    if (kind_ == LinkKind::kInProcess) return terminal_->ResetCount();
    std::istringstream trace(ReadFile(simTrace_));
    int resets = 0;
    for (std::string line; std::getline(trace, line);) resets += line == "ResetDevice()";
    return resets;
}

CVK900ConfigView& LinkFixtureBase::View() {
    if (!view_) UseTerminal("");
    return *view_;
}

}  // namespace vk930::test

#include "support/link_fixture.h"

#include <QCoreApplication>
#include <cstdio>
#include <sstream>

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
    DropLink();  // closes the port before the simulator goes
}

void LinkFixtureBase::DropTerminal() {
    DropLink();
    sim_.reset();
    CommandFixtureBase::DropTerminal();
}

std::unique_ptr<CLinkCtrl> LinkFixtureBase::TerminalLink(const std::string& options) {
    if (kind_ == LinkKind::kInProcess) return CommandFixtureBase::TerminalLink(options);
    EnsureQtApplication();
    StartSimulator(options);
    if (!sim_->Ready()) return nullptr;
    return MakeSerialLink();
}

std::unique_ptr<CLinkCtrl> LinkFixtureBase::NoTerminalLink() {
    if (kind_ == LinkKind::kInProcess) return CommandFixtureBase::NoTerminalLink();
    EnsureQtApplication();
    devicePath_ = dir_.File("no-such-device");
    return MakeSerialLink();
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
    if (kind_ == LinkKind::kInProcess) return CommandFixtureBase::ResetCount();
    std::istringstream trace(ReadFile(simTrace_));
    int resets = 0;
    for (std::string line; std::getline(trace, line);) resets += line == "ResetDevice()";
    return resets;
}

}  // namespace vk930::test

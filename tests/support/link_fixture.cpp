#include "support/link_fixture.h"

#include <cstdio>
#include <sstream>
#ifndef _WIN32
#include <QCoreApplication>

#include "platform/qt_serial_port.h"
#endif

namespace vk930::test {

#ifndef _WIN32
void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "link_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}
#endif

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
#ifndef _WIN32
    sim_.reset();
#endif
    CommandFixtureBase::DropTerminal();
}

std::unique_ptr<CLinkCtrl> LinkFixtureBase::TerminalLink(const std::string& options) {
    if (kind_ == LinkKind::kInProcess) return CommandFixtureBase::TerminalLink(options);
#ifdef _WIN32
    ADD_FAILURE() << "no vk930-sim in the Windows build";
    return nullptr;
#else
    EnsureQtApplication();
    StartSimulator(options);
    if (!sim_->Ready()) return nullptr;
    return MakeSerialLink();
#endif
}

std::unique_ptr<CLinkCtrl> LinkFixtureBase::NoTerminalLink() {
    if (kind_ == LinkKind::kInProcess) return CommandFixtureBase::NoTerminalLink();
#ifdef _WIN32
    ADD_FAILURE() << "no serial link in the Windows build";
    return nullptr;
#else
    EnsureQtApplication();
    devicePath_ = dir_.File("no-such-device");
    return MakeSerialLink();
#endif
}

#ifndef _WIN32

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

#endif

int LinkFixtureBase::ResetCount() {
    if (kind_ == LinkKind::kInProcess) return CommandFixtureBase::ResetCount();
    std::istringstream trace(ReadFile(simTrace_));
    int resets = 0;
    for (std::string line; std::getline(trace, line);) resets += line == "ResetDevice()";
    return resets;
}

}  // namespace vk930::test

// vk930ctl series against vk930-sim processes on pseudo-terminals, each presenting a series of
// factory-fresh terminals: 10 on one port and 4 x 10 on four ports numbered once each with
// consecutive IDs, and faults during a series (the simulator killed, Ctrl+C while waiting and
// during the ID write) after which no ID is in two terminals and every gap has its record.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "support/run_program.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"
#include "support/terminal_files.h"

namespace vk930::test {
namespace {

// The terminals restart 4 s after their ID is written and are identified then; they are removed
// a second after that restart and the next comes 0.1 s later, so that a series is not slower
// than the program's own waits make it.
constexpr char kSeriesTiming[] = "remove=5000&plugin=100";

std::vector<QJsonObject> JsonLines(const std::string& text) {
    std::vector<QJsonObject> objects;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line));
        EXPECT_TRUE(doc.isObject()) << "not a JSON object: " << line;
        objects.push_back(doc.object());
    }
    return objects;
}

int CountLinesStarting(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0) ++count;
    return count;
}

// A watch for RunProgram that acts once `due` says so, then lets the run end by itself, but
// not for ever: a program still running `limit` after the act is killed, so that a hang fails
// its test instead of holding up the suite.
std::function<bool(pid_t)> ActThenWait(std::function<bool()> due, std::function<void(pid_t)> act,
                                       bool& acted) {
    constexpr auto kLimit = std::chrono::seconds(60);
    auto until = std::make_shared<std::chrono::steady_clock::time_point>();
    return [=, &acted](pid_t pid) {
        if (!acted) {
            if (!due()) return false;
            act(pid);
            acted = true;
            *until = std::chrono::steady_clock::now() + kLimit;
            return false;
        }
        if (std::chrono::steady_clock::now() < *until) return false;
        kill(pid, SIGKILL);
        return true;
    };
}

// A reserved ID as the service log tells it.
struct ReservedFate {
    int port = 0;
    std::string state;  // "written" or "skipped"
    std::string reason;
};

class SeriesCli : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1); }

    // A simulator for `port` presenting `terminals` fresh ones, assigned to the port.
    SimProcess& StartPort(int port, int terminals, const std::string& faults = "") {
        const std::string base = dir.File("p" + std::to_string(port));
        std::string spec = "sim:" + base + ".bin?series=" + std::to_string(terminals) + "&" +
                           kSeriesTiming + "&trace=" + base + ".trace";
        if (!faults.empty()) spec += "&" + faults;
        sims[port] = std::make_unique<SimProcess>(VK930SIM_PATH, base + ".link", spec);
        EXPECT_TRUE(sims[port]->Ready()) << sims[port]->Errors();
        const ProgramRun assigned = RunProgram(
            VK930CTL_PATH,
            {"--settings", settings, "ports", "--assign", std::to_string(port), base + ".link"});
        EXPECT_EQ(assigned.exitCode, 0) << assigned.out << assigned.err;
        return *sims[port];
    }
    std::string StateFile(int port) const { return dir.File("p" + std::to_string(port) + ".bin"); }
    std::string Trace(int port) const { return dir.File("p" + std::to_string(port) + ".trace"); }
    // The CommID the port's n-th terminal (from 1) carried when it was removed.
    int RemovedTerminalId(int port, int n) const {
        return CarriedId(StateFile(port) + "." + std::to_string(n), -1);
    }

    // A keyed parameter file as a Get writes it from a factory-fresh terminal.
    std::string KeyedFile() {
        const std::string pcg = dir.File("shop.pcg");
        const ProgramRun got =
            RunProgram(VK930CTL_PATH, {"--settings", dir.File("get.ini"), "--link",
                                       "sim:" + dir.File("get.bin"), "get", "--keyed", pcg});
        EXPECT_EQ(got.exitCode, 0) << got.out << got.err;
        return pcg;
    }

    ProgramRun Series(std::vector<std::string> args, bool json = false) {
        std::vector<std::string> all = {"--settings", settings};
        if (json) all.push_back("--json");
        all.push_back("series");
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(VK930CTL_PATH, all);
    }

    // The series records of the service log by reserved ID; every ID recorded once only.
    std::map<int, ReservedFate> ReservedIds() {
        std::map<int, ReservedFate> fates;
        for (const QJsonObject& record : JsonLines(ReadFile(LogPath()))) {
            if (record.value("command").toString() != "series") continue;
            EXPECT_FALSE(record.value("series").toString().isEmpty());
            if (!record.contains("reservedId")) continue;
            const QJsonObject reserved = record.value("reservedId").toObject();
            const int id = reserved.value("commId").toInt();
            const ReservedFate fate{record.value("port").toInt(),
                                    reserved.value("state").toString().toStdString(),
                                    reserved.value("reason").toString().toStdString()};
            EXPECT_TRUE(fates.emplace(id, fate).second) << "ID " << id << " recorded twice";
            if (fate.state == "skipped") {
                EXPECT_FALSE(fate.reason.empty()) << "ID " << id;
            }
        }
        return fates;
    }
    // Every ID from `first` to the stored counter has its record: no gap unexplained.
    void ExpectEveryIdRecorded(int first, const std::map<int, ReservedFate>& fates) {
        const int last = StoredCommId(settings);
        for (int id = first; id <= last; ++id)
            EXPECT_TRUE(fates.count(id)) << "ID " << id << " reserved without a record";
        if (!fates.empty()) {
            EXPECT_EQ(fates.rbegin()->first, last);
        }
    }
    std::string LogPath() const { return dir.File("state/VK930Config/service-log.jsonl"); }

    TempDir dir;
    const std::string settings = dir.File("settings.ini");
    std::map<int, std::unique_ptr<SimProcess>> sims;
};

TEST_F(SeriesCli, TenTerminalsOnOnePortAreProgrammedVerifiedAndNumberedOnceEach) {
    const std::string pcg = KeyedFile();
    StartPort(1, 10);
    const ProgramRun run =
        Series({"--from", "30001", "--count", "10", "--set", pcg, "--port", "1"}, /*json=*/true);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    // A station's serial port runs in a thread that can serve it, without a warning per open.
    EXPECT_EQ(run.err.find("QSocketNotifier"), std::string::npos) << run.err;

    std::vector<int> rows;
    for (const QJsonObject& e : JsonLines(run.out)) {
        if (e.value("event").toString() == "terminal") {
            EXPECT_TRUE(e.value("ok").toBool());
            EXPECT_TRUE(e.value("verified").toBool()) << "the Set and the ID both read back";
            EXPECT_EQ(e.value("fate").toString(), "done");
            EXPECT_EQ(e.value("file").toString().toStdString(), pcg);
            rows.push_back(e.value("commId").toInt());
        }
        if (e.value("event").toString() == "summary") {
            EXPECT_EQ(e.value("done").toInt(), 10);
            EXPECT_EQ(e.value("skipped").toInt(), 0);
        }
    }
    std::vector<int> expected;
    for (int id = 30001; id <= 30010; ++id) expected.push_back(id);
    EXPECT_EQ(rows, expected);
    // Each terminal left with its own ID, in the order they came.
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(RemovedTerminalId(1, n), 30000 + n) << "terminal " << n;
    EXPECT_EQ(CountLinesStarting(ReadFile(Trace(1)), "WriteByte(1,"), 10)
        << "one ID write per terminal, none repeated";

    const std::map<int, ReservedFate> fates = ReservedIds();
    ASSERT_EQ(fates.size(), 10u);
    for (const auto& [id, fate] : fates) EXPECT_EQ(fate.state, "written") << id;
    ExpectEveryIdRecorded(30001, fates);
    EXPECT_EQ(StoredCommId(settings), 30010);
}

TEST_F(SeriesCli, FourPortsOfTenTerminalsShareOneCounterWithoutAnIdTwice) {
    const std::string pcg = KeyedFile();
    for (int port = 1; port <= 4; ++port) StartPort(port, 10);
    const ProgramRun run =
        Series({"--from", "40001", "--count", "10", "--set", pcg, "--port", "1,2,3,4"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(run.err.find("QSocketNotifier"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("Total: 40 terminals, 40 done, 0 failed, 0 IDs skipped"),
              std::string::npos)
        << run.out;

    std::set<int> carried;
    for (int port = 1; port <= 4; ++port)
        for (int n = 1; n <= 10; ++n) {
            const int id = RemovedTerminalId(port, n);
            EXPECT_TRUE(carried.insert(id).second) << "ID " << id << " in two terminals";
        }
    ASSERT_EQ(carried.size(), 40u);
    EXPECT_EQ(*carried.begin(), 40001);
    EXPECT_EQ(*carried.rbegin(), 40040) << "consecutive: 40 IDs from 40001 with no gap";

    const std::map<int, ReservedFate> fates = ReservedIds();
    ASSERT_EQ(fates.size(), 40u);
    std::map<int, int> perPort;
    for (const auto& [id, fate] : fates) {
        EXPECT_EQ(fate.state, "written") << id;
        ++perPort[fate.port];
    }
    for (int port = 1; port <= 4; ++port) EXPECT_EQ(perPort[port], 10) << "COM" << port;
    ExpectEveryIdRecorded(40001, fates);
}

TEST_F(SeriesCli, ASimulatorKilledMidSeriesStopsItsStationOnlyAndItsIdIsExplained) {
    StartPort(1, 3);
    SimProcess& doomed = StartPort(2, 3);
    // Killed in the restart after its second terminal's ID write: the bytes are in, the
    // identification that would confirm them never answers. Its link goes with it, as a pulled
    // adapter's device does: left behind, it would name a pseudo-terminal number that the
    // system may give to another test's simulator, which COM2 would then reach.
    bool killed = false;
    const ProgramRun run = RunProgram(
        VK930CTL_PATH,
        {"--settings", settings, "series", "--from", "50001", "--count", "3", "--port", "1,2"}, "",
        ActThenWait([&] { return CountLinesStarting(ReadFile(Trace(2)), "ResetDevice()") >= 2; },
                    [&](pid_t) {
                        doomed.Kill();
                        std::filesystem::remove(dir.File("p2.link"));
                    },
                    killed));
    ASSERT_TRUE(killed) << run.out << run.err;
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    // The other station finished its terminals.
    for (int n = 1; n <= 3; ++n) EXPECT_GE(RemovedTerminalId(1, n), 50001);
    EXPECT_EQ(CountLinesStarting(run.out, "COM1: terminal 5"), 3) << run.out;
    // The killed station said why it stopped.
    EXPECT_NE(run.out.find("COM2: COM2 does not open any more: this station stops"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Total: 5 terminals, 4 done, 0 failed, 1 ID skipped"), std::string::npos)
        << run.out;

    const std::map<int, ReservedFate> fates = ReservedIds();
    ASSERT_EQ(fates.size(), 5u);
    ExpectEveryIdRecorded(50001, fates);
    int skipped = 0;
    for (const auto& [id, fate] : fates) {
        if (fate.state == "written") continue;
        ++skipped;
        EXPECT_EQ(fate.port, 2);
        // Its bytes were taken: the killed port's terminal does carry it, and the record says
        // it may.
        EXPECT_NE(fate.reason.find("the terminal may carry this ID"), std::string::npos)
            << fate.reason;
        EXPECT_EQ(CarriedId(StateFile(2), -1), id);
    }
    EXPECT_EQ(skipped, 1);
    std::set<int> carried = {CarriedId(StateFile(2), -1), RemovedTerminalId(2, 1)};
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(carried.insert(RemovedTerminalId(1, n)).second) << "an ID in two terminals";
}

TEST_F(SeriesCli, CtrlCWhileWaitingForATerminalEndsWithTheSummaryAndNoIdUnrecorded) {
    StartPort(1, 1);  // one terminal comes; the second is waited for
    const ProgramRun run = RunProgramSignalled(
        VK930CTL_PATH,
        {"--settings", settings, "series", "--from", "60001", "--count", "2", "--port", "1"},
        "done: remove it\nCOM1: waiting for a terminal...\n", {SIGINT});
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_NE(run.out.find("COM1: series stopped"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("CommID  Port  File"), std::string::npos) << "the summary\n" << run.out;
    EXPECT_NE(run.out.find("Total: 1 terminal, 1 done, 0 failed, 0 IDs skipped"), std::string::npos)
        << run.out;
    const std::map<int, ReservedFate> fates = ReservedIds();
    ASSERT_EQ(fates.size(), 1u);
    EXPECT_EQ(fates.begin()->second.state, "written");
    EXPECT_EQ(StoredCommId(settings), 60001) << "nothing reserved for the terminal not come";
    ExpectEveryIdRecorded(60001, fates);
}

// The requests a healthy first terminal of a series answers up to the high byte of its ID:
// the probes for it (ReadInfo, GetCommIdText, twice), its identification (ReadInfo, page 0;
// the link answers the rest from them), the write's ReadInfo and the high byte. The next
// request is the low byte.
constexpr int kRequestsBeforeLowByte = 8;

TEST_F(SeriesCli, CtrlCDuringTheIdWriteRecordsTheIdAndTheNextSeriesCarriesOnAfterIt) {
    SimProcess& stalled = StartPort(1, 2, "stall=" + std::to_string(kRequestsBeforeLowByte + 1));
    bool sent = false;
    const ProgramRun run = RunProgram(
        VK930CTL_PATH,
        {"--settings", settings, "series", "--from", "61001", "--count", "2", "--port", "1"}, "",
        ActThenWait([&] { return CountLinesStarting(ReadFile(Trace(1)), "WriteByte(1,") >= 1; },
                    [](pid_t pid) { kill(pid, SIGINT); }, sent));
    ASSERT_TRUE(sent) << run.out << run.err;
    EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
    EXPECT_EQ(CountLinesStarting(ReadFile(Trace(1)), "WriteByte(2,"), 0)
        << "the stall was meant for the ID's low byte";
    EXPECT_NE(run.out.find("Total: 1 terminal, 0 done, 0 failed, 1 ID skipped"), std::string::npos)
        << run.out;
    std::map<int, ReservedFate> fates = ReservedIds();
    ASSERT_EQ(fates.size(), 1u);
    EXPECT_EQ(fates.begin()->first, 61001);
    // Its high byte went in and the terminal stopped answering: it may carry a mixed ID, which
    // the record names beside the old one and this one.
    EXPECT_EQ(fates.begin()->second.state, "may-carry");
    EXPECT_NE(fates.begin()->second.reason.find("no longer answers: it carries "),
              std::string::npos)
        << fates.begin()->second.reason;
    ExpectEveryIdRecorded(61001, fates);
    stalled.Stop();
    const int halfWritten = CarriedId(StateFile(1), -1);
    EXPECT_NE(halfWritten, 61001) << "its low byte never arrived";

    // The technician goes on with the next terminal: 61001 is not handed out again.
    StartPort(2, 1);
    const ProgramRun next = Series({"--next", "--count", "1", "--port", "2"});
    EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
    EXPECT_EQ(RemovedTerminalId(2, 1), 61002);
    fates = ReservedIds();
    ASSERT_EQ(fates.size(), 2u);
    EXPECT_EQ(fates[61002].state, "written");
    ExpectEveryIdRecorded(61001, fates);
}

}  // namespace
}  // namespace vk930::test

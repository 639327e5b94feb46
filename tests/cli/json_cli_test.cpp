// vk930ctl --json: every command's standard output is JSON lines and nothing else, parsed
// with Qt's JSON parser; the events come in their order with the values the run had.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "cli/json_events.h"
#include "cli/json_lines.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

const std::string kFirmware = VK930_FIRMWARE_DATA_DIR "/hsbt15.a20";

std::vector<std::string> Texts(const std::vector<QJsonObject>& events, const char* member) {
    std::vector<std::string> texts;
    for (const QJsonObject& e : events) texts.push_back(e.value(member).toString().toStdString());
    return texts;
}

class JsonCli : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1); }
    std::vector<std::string> Args(const char* style, std::vector<std::string> args) {
        args.insert(args.begin(), {"--settings", dir.File("settings.ini"), style});
        return args;
    }
    JsonRun Run(std::vector<std::string> args) {
        return Parse(RunProgram(VK930CTL_PATH, Args("--json", std::move(args))));
    }
    ProgramRun Porcelain(std::vector<std::string> args) {
        return RunProgram(VK930CTL_PATH, Args("--porcelain", std::move(args)));
    }
    std::string Sim(const std::string& options = "") {
        return "sim:" + dir.File("t.bin") + (options.empty() ? "" : "?" + options);
    }
    std::string Program(const std::string& text, const std::string& name = "p.pcg") {
        WriteFile(dir.File(name), text);
        return dir.File(name);
    }
    TempDir dir;
};

TEST_F(JsonCli, InfoGivesTheEntriesAndFieldsOfPorcelainThenTheServiceLogAndTheResult) {
    const JsonRun run = Run({"--link", Sim(), "info"});
    ASSERT_EQ(run.run.exitCode, 0) << run.run.err;
    EXPECT_EQ(run.run.err, "");
    const ProgramRun porcelain = Porcelain({"--link", Sim(), "info"});
    std::string same;
    for (const QJsonObject& e : run.Of("log"))
        same += std::to_string(e.value("kind").toInt()) + "\t" +
                e.value("text").toString().toStdString() + "\n";
    for (const QJsonObject& e : run.Of("field")) {
        EXPECT_FALSE(e.value("name").toString().isEmpty());
        same += "@" + std::to_string(e.value("id").toInt()) + "\t" +
                e.value("text").toString().toStdString() + "\n";
    }
    EXPECT_EQ(same + "=success\n", porcelain.out);
    EXPECT_EQ(
        run.Of("field").front(),
        (QJsonObject{{"event", "field"}, {"id", 1016}, {"name", "Type"}, {"text", "KD04010003"}}));
    EXPECT_EQ(run.Of("log").back().value("severity").toString(), "success");
    ASSERT_EQ(run.Of("servicelog").size(), 1u);
    EXPECT_EQ(run.Of("servicelog")[0].value("path").toString().toStdString(),
              dir.File("state/VK930Config/service-log.jsonl"));
    EXPECT_LT(run.IndexOf("log"), run.IndexOf("field"));
    EXPECT_EQ(
        run.Result(),
        (QJsonObject{{"event", "result"}, {"outcome", "success"}, {"detail", ""}, {"exit", 0}}));
}

TEST_F(JsonCli, FailuresAndWarningsKeepTheirSeverityAndTheResultTheStatus) {
    JsonRun run = Run({"--link", "none", "info"});
    EXPECT_EQ(run.run.exitCode, 1);
    EXPECT_EQ(run.Result().value("outcome").toString(), "port-not-opened");
    EXPECT_EQ(run.Of("log").back().value("kind").toInt(-1), 0);
    EXPECT_EQ(run.Of("log").back().value("severity").toString(), "failure");

    // An out-of-range value is replaced by its substitute: a warning, and the Set succeeds.
    run = Run({"--link", Sim(), "set", Program("SLEEP:999\r\nEND\r\n")});
    EXPECT_EQ(run.run.exitCode, 0) << run.run.out << run.run.err;
    int warnings = 0;
    for (const QJsonObject& e : run.Of("log"))
        if (e.value("severity").toString() == "warning") {
            ++warnings;
            EXPECT_EQ(e.value("kind").toInt(-1), 0);
        }
    EXPECT_GE(warnings, 1) << run.run.out;

    run = Run({"--link", Sim(), "get", dir.File("no/such/folder/x.pcg")});
    EXPECT_EQ(run.run.exitCode, 1);
    EXPECT_EQ(run.Result().value("outcome").toString(), "file");
    EXPECT_FALSE(run.Result().value("detail").toString().isEmpty());
    EXPECT_EQ(run.run.err, "") << "with --json the failure is said in the result only";
}

TEST_F(JsonCli, ASetNamesItsBackupCountsItsLinesAndVerifies) {
    ASSERT_EQ(Run({"--link", Sim(), "commid", "300"}).run.exitCode, 0);
    const JsonRun run = Run({"--link", Sim(), "set", "--verify",
                             Program("HEADING:A\r\nSLEEP:45\r\nVOLUME:2\r\nEND\r\n")});
    ASSERT_EQ(run.run.exitCode, 0) << run.run.out << run.run.err;
    ASSERT_EQ(run.Of("backup").size(), 1u);
    const QJsonObject backup = run.Of("backup")[0];
    EXPECT_TRUE(std::filesystem::is_regular_file(backup.value("path").toString().toStdString()));
    EXPECT_EQ(backup.value("comPort").toInt(), 1);
    EXPECT_EQ(backup.value("commId").toInt(), 300);
    EXPECT_TRUE(backup.value("time").toString().contains('T'));
    // The backup is written before the first parameter line is echoed.
    EXPECT_LT(run.IndexOf("backup"), run.IndexOf("progress"));

    std::vector<int> done;
    for (const QJsonObject& e : run.Of("progress")) {
        EXPECT_EQ(e.value("kind").toString(), "lines");
        EXPECT_FALSE(e.contains("total")) << "a Set does not know its total";
        done.push_back(e.value("done").toInt());
    }
    EXPECT_EQ(done, (std::vector<int>{1, 2, 3}));
    const std::vector<std::string> texts = Texts(run.Of("log"), "text");
    EXPECT_EQ(std::vector<std::string>(texts.end() - 3, texts.end()),
              (std::vector<std::string>{"DONE Succesfully!", "Verifying...", "Verified: 22 bytes"}))
        << run.run.out;
    EXPECT_EQ(run.Of("servicelog").size(), 1u);
    EXPECT_EQ(run.Of("field").back().value("id").toInt(), 1025);

    const JsonRun backups = Run({"backups"});
    ASSERT_EQ(backups.Of("backup").size(), 1u);
    EXPECT_EQ(backups.Of("backup")[0], backup) << "the same event as the Set's";
    EXPECT_EQ(backups.Of("summary")[0].value("count").toInt(), 1);
    EXPECT_EQ(Run({"backups", "--id", "301"}).Of("backup").size(), 0u);
}

TEST_F(JsonCli, UploadProgressRisesToItsTotal) {
    const JsonRun run = Run({"--link", Sim(), "firmware", kFirmware});
    ASSERT_EQ(run.run.exitCode, 0) << run.run.out << run.run.err;
    const std::vector<QJsonObject> progress = run.Of("progress");
    ASSERT_GE(progress.size(), 2u);
    qint64 last = -1;
    const qint64 total = progress.back().value("total").toInteger();
    EXPECT_GT(total, 0);
    for (const QJsonObject& e : progress) {
        EXPECT_EQ(e.value("kind").toString(), "upload");
        EXPECT_EQ(e.value("total").toInteger(), total);
        EXPECT_LE(e.value("done").toInteger(), total);
        EXPECT_GE(e.value("done").toInteger(), last);
        last = e.value("done").toInteger();
    }
    EXPECT_EQ(last, total);
    EXPECT_EQ(Texts(run.Of("log"), "text").back(), "REMOVE BATTERIES AND PUT THEM BACK AGAIN");
}

TEST_F(JsonCli, BytesThatAreNotUtf8ComeOutAsLatin1AndUtf8AsItIs) {
    const std::string bad = "HEADING:\xFF\x1B]0;PWNED\x07";
    const std::string good = "TEXT1:caf\xC3\xA9";
    const std::string file = Program(bad + "\r\n" + good + "\r\nEND\r\n", "bytes.pcg");
    const JsonRun run = Run({"--link", Sim(), "set", file});
    const std::vector<std::string> texts = Texts(run.Of("log"), "text");
    const QString badLine = QString::fromLatin1(bad.data(), static_cast<qsizetype>(bad.size()));
    bool sawBad = false, sawGood = false;
    for (const QJsonObject& e : run.Of("log")) {
        sawBad |= e.value("text").toString() == badLine;
        sawGood |= e.value("text").toString() == QString::fromUtf8(good.data());
    }
    EXPECT_TRUE(sawBad) << run.run.out;
    EXPECT_TRUE(sawGood) << run.run.out;
    EXPECT_EQ(run.run.exitCode, 0) << run.run.err;
    // The raw line holds no control byte: the escapes are JSON's.
    EXPECT_EQ(run.run.out.find('\x1B'), std::string::npos);
    EXPECT_NE(run.run.out.find("\\u001b]0;PWNED\\u0007"), std::string::npos);
}

TEST_F(JsonCli, UsageErrorsGoToStandardErrorAndEndWithAResult) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"bogus"},
                                                 {},
                                                 {"--port", "9", "info"},
                                                 {"--porcelain", "info"},
                                                 {"--link", "sim?bogus", "info"},
                                                 {"get"},
                                                 {"history", "--csv"},
                                                 {"--nonsense", "info"}}) {
        const JsonRun run = Run(args);
        EXPECT_EQ(run.run.exitCode, 2) << args.size();
        ASSERT_EQ(run.events.size(), 1u) << run.run.out;
        EXPECT_EQ(run.Result().value("outcome").toString(), "usage");
        EXPECT_FALSE(run.Result().value("detail").toString().isEmpty());
        EXPECT_NE(run.run.err.find("vk930ctl: "), std::string::npos);
    }
    // A --json among the command's own arguments is no global option.
    const ProgramRun plain =
        RunProgram(VK930CTL_PATH, {"--settings", dir.File("s.ini"), "bogus", "--json"});
    EXPECT_EQ(plain.exitCode, 2);
    EXPECT_EQ(plain.out, "");

    JsonRun told = Run({"--version"});
    EXPECT_EQ(told.events.front().value("event").toString(), "version");
    told = Run({"--help"});
    EXPECT_TRUE(told.events.front().value("text").toString().contains("--json"));
}

TEST_F(JsonCli, ListingsGiveOneEventPerRowAndASummary) {
    JsonRun run = Run({"--link", Sim(), "ports"});
    EXPECT_EQ(run.run.exitCode, 0);
    ASSERT_EQ(run.Of("comport").size(), 8u);
    EXPECT_TRUE(run.Of("comport")[0].value("current").toBool());
    EXPECT_EQ(run.Of("comport")[0].value("state").toString(), "simulated terminal");
    EXPECT_EQ(run.Of("summary")[0].value("count").toInt(),
              static_cast<int>(run.Of("device").size() + run.Of("comport").size()));

    run = Run({"ports", "--assign", "2", Sim()});
    EXPECT_EQ(run.run.exitCode, 0);
    ASSERT_EQ(run.Of("assigned").size(), 1u);
    EXPECT_EQ(run.Of("assigned")[0].value("comPort").toInt(), 2);

    run = Run({"--link", Sim(), "doctor"});
    EXPECT_EQ(run.run.exitCode, 0) << run.run.out;
    const QJsonObject summary = run.Of("summary").at(0);
    EXPECT_EQ(summary.value("count").toInt(), static_cast<int>(run.Of("check").size()));
    EXPECT_EQ(summary.value("fail").toInt(-1), 0);
    run = Run({"--link", "/dev/no-such-tty", "doctor"});
    EXPECT_EQ(run.run.exitCode, 1);
    EXPECT_EQ(run.Of("check")[0].value("mark").toString(), "fail");
    EXPECT_TRUE(run.Of("check")[0].value("fix").isString());
    EXPECT_EQ(run.Result().value("outcome").toString(), "port-not-opened");

    run = Run({"history"});
    const int records = static_cast<int>(run.Of("record").size());
    EXPECT_GE(records, 4);  // the ports, ports --assign and doctor runs above
    EXPECT_EQ(run.Of("record")[0].value("record").toObject().value("command").toString(), "ports");
    EXPECT_EQ(run.Of("summary")[0].value("count").toInt(), records);
}

TEST_F(JsonCli, DiffGivesAChangePerKeyAndExitsOneForDifferences) {
    const std::string a = Program("SLEEP:45\r\nVOLUME:2\r\nEND\r\n", "a.pcg");
    const std::string b = Program("SLEEP:45\r\nVOLUME:3\r\n", "b.pcg");
    // By default only what changes, warns or is ignored; the counts cover every line.
    JsonRun run = Run({"diff", a, b});
    EXPECT_EQ(run.run.exitCode, 1);
    ASSERT_EQ(run.Of("change").size(), 1u);
    EXPECT_EQ(run.Of("change")[0].value("key").toString(), "VOLUME");
    EXPECT_EQ(run.Of("summary").at(0).value("count").toInt(), 1);
    EXPECT_EQ(run.Of("summary").at(0).value("unchanged").toInt(), 1);

    run = Run({"diff", "--all", a, b});
    EXPECT_EQ(run.run.exitCode, 1);
    EXPECT_EQ(run.Result().value("outcome").toString(), "success");
    const std::vector<QJsonObject> changes = run.Of("change");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].value("key").toString(), "SLEEP");
    EXPECT_FALSE(changes[0].value("changed").toBool());
    EXPECT_TRUE(changes[1].value("changed").toBool());
    EXPECT_TRUE(changes[1].value("warnings").isArray());
    const QJsonObject summary = run.Of("summary").at(0);
    EXPECT_EQ(summary.value("changed").toInt(), 1);
    EXPECT_EQ(summary.value("unchanged").toInt(), 1);
    EXPECT_FALSE(summary.value("sawEnd").toBool());

    run = Run({"--link", Sim(), "diff", "--all", a});
    EXPECT_EQ(run.run.exitCode, 1) << run.run.out;  // factory pages: SLEEP differs
    EXPECT_EQ(run.Of("change").size(), 2u);
    run = Run({"diff", dir.File("missing.pcg")});
    EXPECT_EQ(run.run.exitCode, 2);
    EXPECT_EQ(run.Result().value("outcome").toString(), "file");
    EXPECT_EQ(run.Of("note").size(), 1u);
}

TEST_F(JsonCli, AServiceLogThatCannotBeWrittenIsAnEventAndNoFailure) {
    WriteFile(dir.File("state"), "a file where the folder would be");
    const JsonRun run = Run({"--link", Sim(), "info"});
    EXPECT_EQ(run.run.exitCode, 0);
    ASSERT_EQ(run.Of("servicelog").size(), 1u);
    EXPECT_TRUE(run.Of("servicelog")[0].value("error").isString());
    EXPECT_EQ(run.run.err, "");
}

TEST_F(JsonCli, LostOutputFailsTheRun) {
    const ProgramRun run = RunProgramLosingOutput(
        VK930CTL_PATH, Args("--json", {"--link", Sim(), "info"}), LostOutput::kFullDisk);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write the output"), std::string::npos) << run.err;
}

// Stations writing at once each get whole lines, each line with its station's port.
TEST(JsonEventWriter, LinesStayWholeUnderThreadsAndCarryTheirPort) {
    std::ostringstream out;
    JsonEventWriter writer(out);
    constexpr int kStations = 4, kEvents = 300;
    std::vector<std::thread> stations;
    for (int port = 1; port <= kStations; ++port)
        stations.emplace_back([&writer, port] {
            for (int i = 0; i < kEvents; ++i)
                EXPECT_EQ(
                    writer.Write(
                        LogEvent(std::string(200, 'a' + port), 2, EntrySeverity::kProgress), port),
                    "");
        });
    for (std::thread& t : stations) t.join();
    std::map<int, int> perPort;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject e = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        const int port = e.value("port").toInt();
        ASSERT_EQ(e.value("text").toString().toStdString(), std::string(200, 'a' + port)) << line;
        ++perPort[port];
    }
    EXPECT_EQ(perPort,
              (std::map<int, int>{{1, kEvents}, {2, kEvents}, {3, kEvents}, {4, kEvents}}));
    EXPECT_FALSE(QJsonDocument::fromJson(QByteArray::fromStdString([&] {
                     std::ostringstream one;
                     JsonEventWriter(one).Write(JsonEvent("x"));
                     return one.str();
                 }()))
                     .object()
                     .contains("port"))
        << "no port member without a station";
}

}  // namespace
}  // namespace vk930::test

// Four benches numbering terminals at once against one shared registry: four vk930ctl series
// processes, each with its own settings file and state folder, on simulated terminals that
// come and go; and the registry's server stopped in the middle of their series.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "support/pg_cluster.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

constexpr int kBenches = 4;
// The terminal is removed 5 s after its reset: after the 4 s restart wait and the
// identification that reads the new ID back, with a second to spare for four benches and the
// database sharing two cores; the next one follows 50 ms later.
constexpr char kComeAndGo[] = "&remove=5000&plugin=50";

class RegistrySeries : public PgClusterTest {
  protected:
    void SetUp() override {
        PgClusterTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(Run(0, {"registry", "init"}).exitCode, 0);
    }

    std::string Settings(int bench) const { return dir_.File(Name(bench) + ".ini"); }
    std::string State(int bench) const { return dir_.File(Name(bench) + "-state"); }
    std::string ServiceLog(int bench) const {
        return State(bench) + "/VK930Config/service-log.jsonl";
    }
    static std::string Name(int bench) { return "bench" + std::to_string(bench); }

    // vk930ctl at `bench`, against the shop's registry. The state folder goes through the
    // environment of that process only: benches run from several threads at once.
    ProgramRun Run(int bench, const std::vector<std::string>& args) const {
        std::vector<std::string> all = {"XDG_STATE_HOME=" + State(bench),
                                        VK930CTL_PATH,
                                        "--settings",
                                        Settings(bench),
                                        "--registry",
                                        cluster_->Address()};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram("/usr/bin/env", all);
    }

    // A series of `count` fresh simulated terminals at every bench, all at once.
    std::vector<ProgramRun> SeriesAtEveryBench(int count, const std::string& round) {
        std::vector<ProgramRun> runs(kBenches);
        std::vector<std::thread> benches;
        for (int bench = 0; bench < kBenches; ++bench)
            benches.emplace_back([this, bench, count, round, &runs] {
                const std::string link = "sim:" + dir_.File(Name(bench) + round + ".bin") +
                                         "?series=" + std::to_string(count) + kComeAndGo;
                runs[bench] = Run(
                    bench, {"--link", link, "series", "--next", "--count", std::to_string(count)});
            });
        for (std::thread& bench : benches) bench.join();
        return runs;
    }

    long long Count(const std::string& sql) const {
        const std::string out = cluster_->Sql(sql);
        return out.rfind("ERROR", 0) == 0 ? -1 : std::stoll(out);
    }
    std::vector<int> Numbers(const std::string& sql) const {
        std::vector<int> numbers;
        std::istringstream in(cluster_->Sql(sql));
        for (int n; in >> n;) numbers.push_back(n);
        return numbers;
    }

    // The CommIDs a bench's own service log says its series wrote, and how many records of a
    // series it holds.
    std::vector<int> WrittenInLog(int bench, int* seriesRecords = nullptr) const {
        std::vector<int> ids;
        int records = 0;
        std::istringstream log(ReadFile(ServiceLog(bench)));
        for (std::string line; std::getline(log, line);) {
            const QJsonObject record =
                QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
            if (record.value("command").toString() != "series") continue;
            ++records;
            const QJsonObject reserved = record.value("reservedId").toObject();
            if (reserved.value("state").toString() == "written")
                ids.push_back(reserved.value("commId").toInt());
        }
        if (seriesRecords) *seriesRecords = records;
        return ids;
    }

    // What every check of the shop's numbers needs: each ID handed out once, from 10001 on with
    // no gap, and each written one with exactly one record, in the registry and in the
    // service log of the bench that numbered it.
    void ExpectEveryIdOnceAndEveryRecordOnce(long long expectWritten) {
        const std::vector<int> reserved =
            Numbers("SELECT comm_id FROM vk930_reserved_ids ORDER BY comm_id");
        ASSERT_FALSE(reserved.empty());
        for (std::size_t i = 0; i < reserved.size(); ++i)
            ASSERT_EQ(reserved[i], 10001 + static_cast<int>(i)) << "an ID lost or handed out twice";
        EXPECT_EQ(Count("SELECT count(*) FROM vk930_reserved_ids WHERE state = 'written'"),
                  expectWritten);
        // An ID reserved and not written is explained: skipped with its reason, or reserved
        // and never answered (the server went down with the reply), never in a terminal.
        EXPECT_EQ(Count("SELECT count(*) FROM vk930_reserved_ids WHERE state = 'skipped' AND "
                        "reason = ''"),
                  0);
        const std::vector<int> inRecords = Numbers(
            "SELECT (record->'reservedId'->>'commId')::int FROM vk930_records WHERE "
            "record->>'command' = 'series' AND record->'reservedId'->>'state' = "
            "'written' ORDER BY 1");
        const std::vector<int> written = Numbers(
            "SELECT comm_id FROM vk930_reserved_ids WHERE state = 'written' ORDER BY comm_id");
        EXPECT_EQ(inRecords, written) << "a written ID without its one record, or with two";
        EXPECT_EQ(Count("SELECT count(*) - count(DISTINCT uuid) FROM vk930_records"), 0);

        std::vector<int> inLogs;
        long long logRecords = 0;
        for (int bench = 0; bench < kBenches; ++bench) {
            int records = 0;
            const std::vector<int> ids = WrittenInLog(bench, &records);
            inLogs.insert(inLogs.end(), ids.begin(), ids.end());
            logRecords += records;
        }
        std::sort(inLogs.begin(), inLogs.end());
        EXPECT_EQ(inLogs, written) << "the benches' own service logs and the registry differ";
        EXPECT_EQ(Count("SELECT count(*) FROM vk930_records WHERE record->>'command' = 'series'"),
                  logRecords)
            << "a record of a bench's service log is missing in the registry, or is there twice";
    }

    TempDir dir_;
};

TEST_F(RegistrySeries, FourBenchesNumberOneHundredTerminalsWithConsecutiveIdsNoneTwice) {
    const std::vector<ProgramRun> runs = SeriesAtEveryBench(25, "");
    for (int bench = 0; bench < kBenches; ++bench) {
        EXPECT_EQ(runs[bench].exitCode, 0) << Name(bench) << ":\n"
                                           << runs[bench].out << runs[bench].err;
        EXPECT_NE(runs[bench].out.find("IDs from " + cluster_->Address()), std::string::npos)
            << runs[bench].out.substr(0, 300);
        EXPECT_NE(runs[bench].out.find("Total: 25 terminals, 25 done, 0 failed, 0 IDs skipped"),
                  std::string::npos)
            << runs[bench].out;
        int records = 0;
        EXPECT_EQ(WrittenInLog(bench, &records).size(), 25u) << Name(bench);
        EXPECT_EQ(records, 25) << Name(bench) << ": its service log lacks a terminal's record";
        EXPECT_EQ(ReadFile(Settings(bench)).find("commID=1"), std::string::npos)
            << "the bench's own counter moved:\n"
            << ReadFile(Settings(bench));
    }
    EXPECT_EQ(Count("SELECT count(*) FROM vk930_reserved_ids"), 100);
    EXPECT_EQ(Count("SELECT min(comm_id) FROM vk930_reserved_ids"), 10001);
    EXPECT_EQ(Count("SELECT count(DISTINCT series_id) FROM vk930_reserved_ids"), kBenches);
    EXPECT_EQ(Count("SELECT count(*) FROM vk930_records WHERE record->>'command' = 'series'"), 100);
    ExpectEveryIdOnceAndEveryRecordOnce(100);
    for (int bench = 0; bench < kBenches; ++bench) {
        const ProgramRun status = Run(bench, {"registry", "status"});
        EXPECT_NE(status.out.find("next ID: 10101\n"), std::string::npos)
            << status.out << status.err;
        EXPECT_NE(status.out.find("records waiting to be sent: 0"), std::string::npos)
            << status.out;
    }
}

TEST_F(RegistrySeries, AServerStoppedInTheMiddleStopsEverySeriesAndLosesNoIdAndNoRecord) {
    std::vector<ProgramRun> runs;
    std::thread series([this, &runs] { runs = SeriesAtEveryBench(8, "-first"); });
    // Stopped once every bench has numbered a terminal or two, while the next are under way.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (Count("SELECT count(*) FROM vk930_reserved_ids") < 2 * kBenches &&
           std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::string why;
    ASSERT_TRUE(cluster_->Stop(why)) << why;
    series.join();
    const std::string address = cluster_->Address();
    for (int bench = 0; bench < kBenches; ++bench) {
        const ProgramRun& run = runs[bench];
        EXPECT_EQ(run.exitCode, 1) << Name(bench) << ": " << run.out << run.err;
        // The station stops before its next reservation, naming the server, and never hands
        // out an ID of the bench's own: at the reservation, or before it, when it asks the
        // registry whether the terminal in the cradle carries an ID handed out already.
        const bool atReservation = run.out.find("no ID: cannot reserve an ID: the registry " +
                                                address + " cannot be used") != std::string::npos;
        const bool atCheck =
            run.out.find("cannot read what " + address +
                         " recorded: cannot read what became of ID ") != std::string::npos &&
            run.out.find("the registry " + address + " cannot be used") != std::string::npos;
        EXPECT_TRUE(atReservation || atCheck) << Name(bench) << ":\n" << run.out;
        EXPECT_NE(run.out.find("check that its database server is running"), std::string::npos);
        EXPECT_EQ(ReadFile(Settings(bench)).find("commID=1"), std::string::npos)
            << "the bench's own counter handed out an ID:\n"
            << ReadFile(Settings(bench));
        EXPECT_EQ(run.out.find("IDs from settings"), std::string::npos) << run.out;
    }

    ASSERT_TRUE(cluster_->StartAgain(why)) << why;
    // Each bench sends what waited in its outbox at its next use of the registry.
    for (int bench = 0; bench < kBenches; ++bench) {
        const ProgramRun history = Run(bench, {"history"});
        EXPECT_EQ(history.exitCode, 0) << history.err;
        const ProgramRun status = Run(bench, {"registry", "status"});
        EXPECT_NE(status.out.find("records waiting to be sent: 0"), std::string::npos)
            << Name(bench) << ":\n"
            << status.out << status.err;
    }
    const long long before =
        Count("SELECT count(*) FROM vk930_reserved_ids WHERE state = 'written'");
    EXPECT_GE(before, kBenches);

    // The series go on where the shop's counter stands.
    runs = SeriesAtEveryBench(2, "-again");
    for (int bench = 0; bench < kBenches; ++bench)
        EXPECT_EQ(runs[bench].exitCode, 0) << Name(bench) << ":\n"
                                           << runs[bench].out << runs[bench].err;
    ExpectEveryIdOnceAndEveryRecordOnce(before + 2 * kBenches);
}

}  // namespace
}  // namespace vk930::test

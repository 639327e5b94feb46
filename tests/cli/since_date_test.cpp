// The DATE of history --since: a day, or a day and a time, both applied; anything else refused.
#include "cli/since_date.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

TEST(SinceDate, ADayOrADayAndATimeAndNothingElse) {
    const QDate day(2026, 12, 8);
    struct Case {
        const char* text;
        std::optional<QDateTime> since;
    };
    const Case cases[] = {
        {"2026-12-08", day.startOfDay()},
        {"2026-12-08T23:59", QDateTime(day, QTime(23, 59))},
        {"2026-12-08 23:59", QDateTime(day, QTime(23, 59))},
        {"2026-12-08T23:59:30", QDateTime(day, QTime(23, 59, 30))},
        {"2026-12-08T25:99", std::nullopt},
        {"2026-12-08Tgarbage", std::nullopt},
        {"2026-12-08T23", std::nullopt},
        {"2026-12-08T23:59:60", std::nullopt},
        {"2026-02-30", std::nullopt},
        {"2026-12-8", std::nullopt},
        {"2026-12-08x", std::nullopt},
        {" 2026-12-08", std::nullopt},
        {"", std::nullopt},
        {"yesterday", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseSinceDate(c.text), c.since) << c.text;
}

TEST(SinceDate, HistoryAppliesTheTimeOfDay) {
    TempDir dir;
    setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
    setenv("TZ", "UTC", 1);
    std::filesystem::create_directories(dir.File("state/VK930Config"));
    std::ofstream(dir.File("state/VK930Config/service-log.jsonl"))
        << R"({"time":"2026-12-08T23:51:00.000+00:00","command":"info","port":1})"
           "\n"
        << R"({"time":"2026-12-08T23:59:10.000+00:00","command":"set","port":1})"
           "\n";
    auto history = [&dir](const char* since) {
        return RunProgram(VK930CTL_PATH,
                          {"--settings", dir.File("s.ini"), "history", "--since", since});
    };
    ProgramRun run = history("2026-12-08T23:59");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "2026-12-08T23:59:10.000+00:00  set  COM1  \n") << run.out;
    run = history("2026-12-08");
    EXPECT_NE(run.out.find("  info  "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  set  "), std::string::npos) << run.out;
    for (const char* bad : {"2026-12-08T25:99", "2026-12-08Tgarbage"}) {
        run = history(bad);
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_NE(run.err.find(std::string("not '") + bad + "'"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    unsetenv("TZ");
}

}  // namespace
}  // namespace vk930::test

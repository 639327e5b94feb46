// The dry run writes exactly what a real Set writes, for random files and pages; the report
// and the offline comparison read what those bytes mean.
#include "core/proof/dry_run.h"

#include <gtest/gtest.h>

#include <random>

#include "core/proof/diff_report.h"
#include "core/proof/offline_diff.h"
#include "support/link_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

std::string RandomFile(std::mt19937& rng) {
    static const char* const kKeys[] = {"HEADING",  "EXTRAID",  "LANGUAGE",  "SLEEP",    "VOLUME",
                                        "PASSWORD", "MENULANG", "F1TXT",     "F3SEND",   "F3TXT",
                                        "SYSTEM",   "SYSTEM",   "NOSUCHKEY", "WAIT_TIME"};
    std::uniform_int_distribution<int> key(0, 13), number(-20, 300), lines(1, 25);
    std::string text;
    for (int i = lines(rng); i > 0; --i) {
        const std::string k = kKeys[key(rng)];
        if (k == "SYSTEM")
            text += "SYSTEM:" + std::to_string(number(rng) % 2) + "," +
                    std::to_string(std::abs(number(rng)) % 256) + "," + std::to_string(number(rng));
        else if (k == "HEADING" || k.ends_with("TXT"))
            text += k + ":" + std::string(static_cast<size_t>(std::abs(number(rng)) % 30), 'x');
        else
            text += k + ":" + std::to_string(number(rng));
        text += "\r\n";
    }
    if (number(rng) > 0) text += "END\r\n";
    return text;
}

class DryRunProperty : public InProcessLinkFixture {};

TEST_F(DryRunProperty, DryRunWritesExactlyWhatASetWrites) {
    std::mt19937 rng(930);
    TempDir dir;
    for (int round = 0; round < 40; ++round) {
        UseTerminal("");
        std::uniform_int_distribution<int> byte(0, 255);
        for (int page = 0; page < 2; ++page)
            for (int offset = 0; offset < kPageSize; offset += 1 + byte(rng) % 7)
                Terminal().WriteByte(page, offset, byte(rng));
        const Pages before{Page(0), Page(1)};
        const std::string file = dir.File("r" + std::to_string(round) + ".pcg");
        WriteFile(file, RandomFile(rng));

        const DryRun dry = RunDrySet(before, file, settings);
        ASSERT_TRUE(dry.completed) << dry.problem;
        state.document.m_strFilePath = file;
        View().Proof().backupBeforeSet = false;
        ClearCalls();
        ASSERT_TRUE(View().OnSet().ok());
        EXPECT_EQ(Page(0), dry.after[0]) << ReadFile(file);
        EXPECT_EQ(Page(1), dry.after[1]) << ReadFile(file);
        int writes = 0;
        for (const std::string& call : Calls()) writes += call.starts_with("Write") ? 1 : 0;
        EXPECT_EQ(writes == 0, dry.written.empty());
    }
}

TEST(DiffReport, ReportsChangesWarningsAndAMissingEnd) {
    TempDir dir;
    WriteFile(dir.File("a.pcg"), "SLEEP:30\r\nEND\r\n");
    WriteFile(dir.File("b.pcg"), "SLEEP:4\r\nSYSTEM:0,200,9\r\nFOO:1\r\n");
    MemorySettings settings;
    std::string problem;
    const DiffReport report = CompareFiles(dir.File("a.pcg"), dir.File("b.pcg"), settings, problem);
    ASSERT_TRUE(problem.empty()) << problem;
    // SLEEP 4 is out of range: the substitute 99 is what a Set writes.
    ASSERT_GE(report.keys.size(), 1u);
    EXPECT_TRUE(report.Differs());
    EXPECT_FALSE(report.sawEnd);
    EXPECT_GE(report.warnings, 1);
    const std::string text = FormatDiff(report);
    EXPECT_NE(text.find("No END line"), std::string::npos) << text;
    EXPECT_NE(text.find("SLEEP\n    30 -> 99\n"), std::string::npos) << text;

    // Keyed files alone: line by line, with the warning the Set would log.
    WriteFile(dir.File("k.pcg"), "SLEEP:4\r\nEND\r\n");
    const std::string keyed =
        FormatDiff(CompareFiles(dir.File("a.pcg"), dir.File("k.pcg"), settings, problem));
    EXPECT_EQ(keyed,
              "SLEEP:4\n    30 -> 99\n    Warning! Sleep value range should be 5-99 sec.\n"
              "1 changed, 0 unchanged, 1 warnings, 0 ignored lines\n");

    // By default the lines that change, warn or are ignored; every line with kAll.
    WriteFile(dir.File("base.pcg"), "SLEEP:30\r\nVOLUME:2\r\nEND\r\n");
    WriteFile(dir.File("m.pcg"), "SLEEP:4\r\nVOLUME:2\r\nNOKEY:1\r\nEND\r\n");
    const DiffReport mixed =
        CompareFiles(dir.File("base.pcg"), dir.File("m.pcg"), settings, problem);
    EXPECT_EQ(FormatDiff(mixed),
              "SLEEP:4\n    30 -> 99\n    Warning! Sleep value range should be 5-99 sec.\n"
              "NOKEY:1\n    ignored: the Set writes nothing for this line\n"
              "1 changed, 1 unchanged, 1 warnings, 1 ignored lines\n");
    const std::string all = FormatDiff(mixed, DiffLines::kAll);
    EXPECT_NE(all.find("VOLUME:2\n    2 (unchanged)\n"), std::string::npos) << all;

    WriteFile(dir.File("c.pcg"), "SLEEP:30\r\nEND\r\n");
    EXPECT_FALSE(CompareFiles(dir.File("a.pcg"), dir.File("c.pcg"), settings, problem).Differs());
}

}  // namespace
}  // namespace vk930::test

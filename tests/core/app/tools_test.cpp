// The Tools dialogs' controllers, driven through the application by a window without a
// toolkit against the simulated terminal: what Compare lists and what "Set now" programs,
// the backups newest first and a restore onto the right terminal or, when asked, another, and
// the service history's filter, details and CSV.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "core/app/application.h"
#include "core/app/backups_tool.h"
#include "core/app/compare_tool.h"
#include "core/app/history_tool.h"
#include "core/base/csv_text.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "core/forms/tool_ids.h"
#include "core/proof/backup.h"
#include "core/proof/fetched_pages.h"
#include "core/proof/state_folder.h"
#include "fake_front_end.h"
#include "fake_tool_view.h"
#include "support/command_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Sets an environment variable for a test's time.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedVariable() { Set(old_.value_or("")); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void Set(const std::string& value) {
#ifdef _WIN32
        _putenv_s(name_, value.c_str());  // empty: removed
#else
        if (value.empty())
            unsetenv(name_);
        else
            setenv(name_, value.c_str(), 1);
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

class ToolsTest : public CommandFixture {
  protected:
    // The backups go to a state folder of the test's own (each initial update reads it anew).
    ToolsTest() : stateHome_(kStateVariable, dir_.File("home")) { View(); }
    std::string Backups() const { return BackupFolder(StateFolder()); }

    // Opens the Tools item `command`; `drive` acts on its controller as the user would.
    void RunTool(int command, const std::function<void(ToolController&)>& drive) {
        front.onTool = [&](ToolController& tool) {
            tool.OnShow(dialog);
            drive(tool);
        };
        App().OnCommand(command);
        ASSERT_EQ(front.toolDialogs, 1) << "the dialog did not open";
    }

    // The CommID the terminal carries.
    int CommId() { return Page(0)[1] * 256 + Page(0)[2]; }
    void SetCommId(int commId) {
        Terminal().WriteByte(0, 1, commId / 256);
        Terminal().WriteByte(0, 2, commId % 256);
    }

    std::string BackUp(std::chrono::system_clock::time_point time) {
        PagesSource pages(Pages{Page(0), Page(1)});
        return WriteBackup(Backups(), pages, 1, time).value();
    }

    MemoryRecentFiles recent;
    QueuedRunner runner;
    FakeFrontEnd front{host};
    FakeToolView dialog;
    // On Windows the state folder is under HOME: XDG_STATE_HOME counts only as an absolute
    // POSIX path.
#ifdef _WIN32
    static constexpr const char* kStateVariable = "HOME";
#else
    static constexpr const char* kStateVariable = "XDG_STATE_HOME";
#endif
    ScopedVariable stateHome_;
    // Made on the terminal the test chose (UseNoTerminal) or, at first use, a factory-fresh
    // one: the application keeps the view it was given.
    Application& App() {
        if (!app_) {
            app_ = std::make_unique<Application>(
                AppParts{host, View(), state, recent, front, runner,
                         [](int port) { return "COM" + std::to_string(port); }, [] {}, &history});
            front.app = app_.get();
        }
        return *app_;
    }
    std::unique_ptr<Application> app_;

    struct Records : HistorySource {
        std::vector<HistoryRecord> records;
        std::optional<std::string> error;
        std::vector<RecordQuery> queries;
        Result<std::vector<HistoryRecord>> Find(const RecordQuery& query) override {
            queries.push_back(query);
            if (error) return Error{*error};
            return records;
        }
        std::string Where() const override { return "this bench (memory)"; }
    } history;
};

TEST_F(ToolsTest, CompareListsOnlyTheChangesAndSetNowProgramsThatFile) {
    const int heldByte = Page(0)[201];
    const std::string file = dir_.File("shop.pcg");
    WriteFile(file, "HEADING:Shop 3\r\nSYSTEM:0,201," + std::to_string((heldByte + 7) % 256) +
                        "\r\nSYSTEM:0,202," + std::to_string(Page(0)[202]) +
                        "\r\nNOSUCHKEY:1\r\nEND\r\n");
    ASSERT_TRUE(App().Start(file));
    const PageBytes before = Page(0);

    RunTool(id::kCmdCompare, [&](ToolController& tool) {
        EXPECT_EQ(dialog.texts[id::kCompareFile], file) << "the document's file comes first";
        EXPECT_FALSE(dialog.enabled[id::kCompareSetNow]) << "Set before anything was compared";
        tool.OnCommand(id::kCompareRun);
        EXPECT_TRUE(App().CommandRunning()) << "the terminal was read on the GUI thread";
        EXPECT_FALSE(tool.MayClose());
        EXPECT_FALSE(dialog.enabled[id::kCancel]);
        tool.OnCommand(id::kCompareSetNow);  // dropped while the comparison runs
        EXPECT_EQ(runner.starts, 1);
        runner.Finish();

        const std::vector<ToolRow>& rows = dialog.rows[id::kCompareList];
        ASSERT_EQ(rows.size(), 2u) << "only the changed keys are listed";
        EXPECT_EQ(rows[0][0], "HEADING");
        EXPECT_EQ(rows[0][2].rfind("\"Shop 3 ", 0), 0u) << "the heading as the Set pads it";
        EXPECT_EQ(rows[1], (ToolRow{"page 0 offset 201", std::to_string(heldByte),
                                    std::to_string((heldByte + 7) % 256), ""}));
        EXPECT_EQ(dialog.texts[id::kCompareCounts], "2 to change, 1 unchanged, 1 ignored lines");
        EXPECT_EQ(Page(0), before) << "comparing wrote to the terminal";
        EXPECT_TRUE(dialog.enabled[id::kCompareSetNow]);

        host.log.clear();
        tool.OnCommand(id::kCompareSetNow);
        runner.Finish();
        EXPECT_EQ(Page(0)[201], (heldByte + 7) % 256) << "Set now did not program the file";
        EXPECT_FALSE(host.LogTexts().empty()) << "the Set's own log entries are missing";
        EXPECT_EQ(dialog.texts[id::kCompareCounts].rfind("Set now: done.", 0), 0u)
            << dialog.texts[id::kCompareCounts];
        EXPECT_TRUE(dialog.rows[id::kCompareList].empty()) << "the list shows the old terminal";
        EXPECT_FALSE(dialog.enabled[id::kCompareSetNow]);
        tool.OnCommand(id::kCancel);
        EXPECT_TRUE(dialog.closed);
    });
    EXPECT_EQ(state.document.m_strFilePath, file);
    EXPECT_EQ(ListBackups(Backups()).size(), 1u) << "Set now skipped the Set button's backup";
}

TEST_F(ToolsTest, CompareWithAnotherFileOrWithoutATerminalSaysWhatWentWrong) {
    UseNoTerminal();
    ASSERT_TRUE(App().Start(""));
    const std::string other = dir_.File("other.pcg");
    WriteFile(other, "HEADING:x\r\nEND\r\n");
    RunTool(id::kCmdCompare, [&](ToolController& tool) {
        EXPECT_FALSE(dialog.enabled[id::kCompareRun]) << "nothing to compare yet";
        EXPECT_EQ(dialog.texts[id::kCompareCounts], "Choose a parameter file with Browse.");
        dialog.files.push_back({true, other});
        tool.OnCommand(id::kCompareBrowse);
        EXPECT_EQ(dialog.texts[id::kCompareFile], other);
        EXPECT_TRUE(dialog.enabled[id::kCompareRun]);
        tool.OnCommand(id::kCompareRun);
        runner.Finish();
        EXPECT_EQ(dialog.texts[id::kCompareCounts].rfind("The terminal's pages could not be read: "
                                                         "failed (port-not-opened)",
                                                         0),
                  0u)
            << dialog.texts[id::kCompareCounts];
        EXPECT_FALSE(dialog.enabled[id::kCompareSetNow]);
    });
    EXPECT_TRUE(state.document.m_strFilePath.empty()) << "browsing changed the document";
}

TEST_F(ToolsTest, BackupsAreListedNewestFirstAndRestoredOntoTheirTerminal) {
    ASSERT_TRUE(App().Start(""));
    SetCommId(300);
    const auto now = std::chrono::system_clock::now();
    const std::string older = BackUp(now - 2h);
    Terminal().WriteByte(0, 201, 11);
    const std::string newer = BackUp(now - 1h);
    Terminal().WriteByte(0, 201, 99);

    RunTool(id::kCmdBackups, [&](ToolController& tool) {
        const std::vector<ToolRow>& rows = dialog.rows[id::kBackupsList];
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0][3], fs::path(newer).filename().string());
        EXPECT_EQ(rows[1][3], fs::path(older).filename().string());
        EXPECT_EQ(dialog.texts[id::kBackupsFolder], "Backups in " + Backups() + ", newest first:");
        EXPECT_EQ(rows[0][1], "COM1");
        EXPECT_EQ(rows[0][2], "300");
        EXPECT_EQ(rows[0][0],
                  StampTime(ParseBackupName(fs::path(newer).filename().string())->stamp, ' '));
        EXPECT_FALSE(dialog.enabled[id::kBackupsRestore]) << "nothing is chosen yet";

        tool.OnRowSelected(id::kBackupsList, 0);
        tool.OnCommand(id::kBackupsRestore);
        EXPECT_TRUE(App().CommandRunning());
        runner.Finish();
        EXPECT_TRUE(dialog.questions.empty()) << "asked about the backup's own terminal";
        EXPECT_EQ(Page(0)[201], 11) << "the backup was not restored";
        EXPECT_EQ(dialog.texts[id::kBackupsStatus], "Restore: done");
        EXPECT_EQ(dialog.rows[id::kBackupsList].size(), 3u)
            << "the backup the restore wrote is not listed";
    });
}

TEST_F(ToolsTest, ARestoreOntoAnotherTerminalIsAskedAndKeepsThatTerminalsCommId) {
    ASSERT_TRUE(App().Start(""));
    SetCommId(300);
    Terminal().WriteByte(0, 201, 11);
    BackUp(std::chrono::system_clock::now() - 1h);
    SetCommId(301);  // another terminal
    Terminal().WriteByte(0, 201, 99);

    RunTool(id::kCmdBackups, [&](ToolController& tool) {
        tool.OnRowSelected(id::kBackupsList, 0);
        dialog.answers = {false};
        tool.OnCommand(id::kBackupsRestore);
        runner.Finish();
        ASSERT_EQ(dialog.questions.size(), 1u);
        EXPECT_NE(dialog.questions[0].find("carries CommID 301; the backup was taken of CommID "
                                           "300"),
                  std::string::npos)
            << dialog.questions[0];
        EXPECT_FALSE(App().CommandRunning());
        EXPECT_EQ(Page(0)[201], 99) << "restored onto another terminal without its yes";
        EXPECT_EQ(dialog.texts[id::kBackupsStatus].rfind("Not restored.", 0), 0u);

        dialog.answers = {true};
        tool.OnCommand(id::kBackupsRestore);
        runner.Finish();  // refused again, asked, and the second job starts
        EXPECT_TRUE(App().CommandRunning()) << "the yes did not restore";
        runner.Finish();
        EXPECT_EQ(Page(0)[201], 11);
        EXPECT_EQ(CommId(), 301) << "the other terminal took the backup's CommID";
        EXPECT_EQ(dialog.texts[id::kBackupsStatus], "Restore: done");
    });
    EXPECT_EQ(front.busy.back(), false);
}

TEST_F(ToolsTest, OpenMakesTheBackupTheDocument) {
    ASSERT_TRUE(App().Start(""));
    const std::string backup = BackUp(std::chrono::system_clock::now());
    RunTool(id::kCmdBackups, [&](ToolController& tool) {
        tool.OnRowSelected(id::kBackupsList, 0);
        tool.OnCommand(id::kBackupsOpen);
        EXPECT_TRUE(dialog.closed);
    });
    // The document's path as opening gives it (on Windows with backslashes only).
    const std::string opened = fs::absolute(backup).lexically_normal().string();
    EXPECT_EQ(state.document.m_strFilePath, opened);
    EXPECT_EQ(recent.files.front(), opened);
}

HistoryRecord Record(const std::string& time, const std::string& command, int before, int after) {
    HistoryRecord r;
    r.time = time;
    r.program = "vk930config";
    r.command = command;
    r.port = 2;
    r.commIdBefore = before;
    r.commIdAfter = after;
    r.outcome = "success";
    return r;
}

TEST_F(ToolsTest, HistoryShowsTheRecordsNewestFirstFilteredWithTheirDetails) {
    ASSERT_TRUE(App().Start(""));
    history.records = {Record("2026-12-01T10:00:00.000+01:00", "set", 300, 300),
                       Record("2026-12-02T10:00:00.000+01:00", "commid", 0, 301)};
    history.records[0].file = "/shop/a.pcg";
    history.records[0].backup = "/state/backups/x.pcg";
    history.records[0].warnings = 1;
    history.records[0].warningTexts = {"Value too high"};
    RunTool(id::kCmdServiceHistory, [&](ToolController& tool) {
        EXPECT_EQ(dialog.texts[id::kHistoryWhere], "Records of this bench (memory), newest first:");
        const std::vector<ToolRow>& rows = dialog.rows[id::kHistoryList];
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0], (ToolRow{"2026-12-02T10:00:00.000+01:00", "commid", "COM2", "0->301",
                                    "success"}));
        EXPECT_EQ(rows[1][3], "300");
        tool.OnRowSelected(id::kHistoryList, 1);
        EXPECT_EQ(dialog.texts[id::kHistoryDetails],
                  "File: /shop/a.pcg\nBackup: /state/backups/x.pcg\nOutcome: success\n"
                  "Warnings: 1: Value too high");

        tool.OnEdited(id::kHistoryCommId, "301");
        tool.OnEdited(id::kHistorySince, "2026-12-02");
        tool.OnCommand(id::kHistoryShow);
        ASSERT_EQ(history.queries.size(), 2u);
        EXPECT_EQ(history.queries[1].commId, 301);
        EXPECT_EQ(history.queries[1].since, ParseDay("2026-12-02"));

        // Input the registry cannot take is said, not sent.
        tool.OnEdited(id::kHistoryCommId, "70000");
        tool.OnCommand(id::kHistoryShow);
        tool.OnEdited(id::kHistoryCommId, "");
        tool.OnEdited(id::kHistorySince, "2026-02-30");
        tool.OnCommand(id::kHistoryShow);
        EXPECT_EQ(history.queries.size(), 2u);
        ASSERT_EQ(dialog.tells.size(), 2u);
        EXPECT_NE(dialog.tells[0].find("from 0 to 65535, not '70000'"), std::string::npos);
        EXPECT_NE(dialog.tells[1].find("like 2026-12-07, not '2026-02-30'"), std::string::npos);

        history.error = "the registry server at db:5432 does not answer";
        tool.OnEdited(id::kHistorySince, "");
        tool.OnCommand(id::kHistoryShow);
        EXPECT_TRUE(dialog.rows[id::kHistoryList].empty());
        EXPECT_EQ(dialog.texts[id::kHistoryDetails],
                  "The records cannot be read: the registry server at db:5432 does not answer");
        EXPECT_FALSE(dialog.enabled[id::kHistoryExport]);
    });
}

TEST_F(ToolsTest, ExportWritesAPrivateCsvThatNoSpreadsheetRunsAsAFormula) {
    ASSERT_TRUE(App().Start(""));
    history.records = {Record("2026-12-01T10:00:00.000+01:00", "set", 300, 300)};
    history.records[0].file = "/shop/a, \"b\".pcg";
    history.records[0].detail = "=HYPERLINK(\"http://x\")";
    const std::string csv = dir_.File("history.csv");
    RunTool(id::kCmdServiceHistory, [&](ToolController& tool) {
        dialog.files.push_back({true, csv});
        tool.OnCommand(id::kHistoryExport);
        EXPECT_EQ(dialog.texts[id::kHistoryDetails], "1 records written to " + csv + ".");
        dialog.files.push_back({true, dir_.File("no/such/folder/h.csv")});
        tool.OnCommand(id::kHistoryExport);
        ASSERT_EQ(dialog.tells.size(), 1u);
        EXPECT_NE(dialog.tells[0].find("no/such/folder/h.csv"), std::string::npos);
    });
    EXPECT_EQ(ReadFile(csv),
              "time,program,command,port,reach,commIdBefore,commIdAfter,file,backup,outcome,"
              "detail,warnings,durationMs\r\n"
              "2026-12-01T10:00:00.000+01:00,vk930config,set,2,,300,300,\"/shop/a, \"\"b\"\".pcg\","
              ",success,\"'=HYPERLINK(\"\"http://x\"\")\",0,0\r\n");
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(stat(csv.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST(CsvTextTest, CellsAreQuotedAndFormulasNeutralised) {
    EXPECT_EQ(CsvCell("plain"), "plain");
    EXPECT_EQ(CsvCell(""), "");
    EXPECT_EQ(CsvCell("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvCell("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvCell("two\nlines"), "\"two\nlines\"");
    for (const std::string start : {"=", "+", "-", "@", "\t"})
        EXPECT_EQ(CsvCell(start + "1+1"), "'" + start + "1+1") << start;
    EXPECT_EQ(CsvCell("-1,2"), "\"'-1,2\"");
    EXPECT_EQ(CsvCell("a=b"), "a=b") << "only a cell's first character makes a formula";
    EXPECT_EQ(CsvLine({"a", "b,c", ""}), "a,\"b,c\",\r\n");
}

TEST(ParseDayTest, TakesOnlyRealDaysInTheirOneForm) {
    const auto day = ParseDay("2026-12-07");
    ASSERT_TRUE(day);
    const std::time_t t = std::chrono::system_clock::to_time_t(*day);
    const std::tm local = *std::localtime(&t);
    EXPECT_EQ(local.tm_year, 126);
    EXPECT_EQ(local.tm_mon, 11);
    EXPECT_EQ(local.tm_mday, 7);
    EXPECT_EQ(local.tm_hour, 0);
    for (const char* bad : {"2026-02-30", "2026-13-01", "2026-12-7", "2026-12-07x", "07.12.2026",
                            "", "2026-12-07T10:00"})
        EXPECT_FALSE(ParseDay(bad)) << bad;
}

}  // namespace
}  // namespace vk930::test

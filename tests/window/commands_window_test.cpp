// The terminal commands started from the window's buttons and menu, with their dialogs
// answered: Get, Set and the firmware upload on the simulated terminal.
#include <QFileInfo>
#include <QLabel>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "core/terminal/terminal_model.h"
#include "support/window_logs.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

class CommandsWindowTest : public WindowTest {
  protected:
    // The simulated terminal keeps its pages in a state file of the fixture's folder.
    void StartOnStateFile() {
        WindowOptions options;
        options.link = "sim:" + dir.File("terminal.bin");
        Start(options);
    }
    PageBytes Page(int page) {
        const std::string state = ReadFile(dir.File("terminal.bin"));
        PageBytes bytes{};
        for (int i = 0; i < kPageSize; ++i)
            bytes[i] = static_cast<std::uint8_t>(state.at(page * kPageSize + i));
        return bytes;
    }
    bool Logged(const std::string& text) {
        for (const LogEntry& entry : Log())
            if (entry.text == text) return true;
        return false;
    }
};

TEST_F(CommandsWindowTest, GetButtonSavesTheRawFileChosenInItsDialogAndOpensIt) {
    StartOnStateFile();
    const QString path = ToQ(dir.File("saved.pcg"));
    ModalAnswerer answerer(
        {ClickControl(id::kGetParamsSaveButton), PickFile(path), ClickControl(id::kOk)});
    Click(id::kGetButton);
    const std::string saved = ReadFile(ToStd(path));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 513);
    EXPECT_EQ(saved.substr(0, 14), "SYSTEM:0,0,0\r\n");
    EXPECT_EQ(saved.substr(saved.size() - 5), "END\r\n");
    EXPECT_EQ(Log().back(), logs::kCommandDone);
    EXPECT_EQ(TextOf(id::kFilePath), path);
    EXPECT_EQ(app->Frame().windowTitle(), "VK930Config - " + path);  // opened by the command
    EXPECT_EQ(app->State().rawDump, 0);
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(CommandsWindowTest, SetButtonProgramsTheOpenedFile) {
    StartOnStateFile();
    ASSERT_TRUE(app->OpenDocumentFile(MakeFile("sleep.pcg", "SLEEP:45\nVOLUME:2\nEND\n")));
    ModalAnswerer answerer;  // the document's file is programmed without a dialog
    Click(id::kSetButton);
    EXPECT_EQ(Log().back(), logs::kCommandDone);
    EXPECT_EQ(Page(0)[5], 45);
    EXPECT_EQ(Page(0)[16], 2);
    EXPECT_EQ(app->State().document.m_nFileOpened, 0);  // a completed run
    EXPECT_EQ(answerer.Unexpected(), 0);
}

// A state folder of the test's own for as long as it lives: a backup an earlier test made in
// the same second would otherwise give this one's name a "-2".
class OwnStateFolder {
  public:
    explicit OwnStateFolder(const std::string& path) {
        if (const char* now = std::getenv("XDG_STATE_HOME")) kept_ = now;
        setenv("XDG_STATE_HOME", path.c_str(), 1);
    }
    ~OwnStateFolder() {
        if (kept_)
            setenv("XDG_STATE_HOME", kept_->c_str(), 1);
        else
            unsetenv("XDG_STATE_HOME");
    }

  private:
    std::optional<std::string> kept_;
};

TEST_F(CommandsWindowTest, AfterASetTheLinkAreaNamesTheBackup) {
    const OwnStateFolder state(dir.File("state"));
    StartOnStateFile();
    ASSERT_TRUE(app->OpenDocumentFile(MakeFile("sleep.pcg", "SLEEP:45\nEND\n")));
    Click(id::kSetButton);
    ASSERT_EQ(Log().back(), logs::kCommandDone);
    const QLabel* line = Control(id::kLinkControl)->findChild<QLabel*>("backupLine");
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().startsWith("Backup: ")) << ToStd(line->text());
    const QString name = line->text().mid(8);
    EXPECT_TRUE(name.endsWith("-COM1-id1.pcg")) << ToStd(name);
    EXPECT_TRUE(QFileInfo(line->toolTip()).isFile()) << "the tip names the file written";
    EXPECT_EQ(QFileInfo(line->toolTip()).fileName(), name);
}

TEST_F(CommandsWindowTest, VerifyAfterSetReadsBackAndNamesALostWrite) {
    WriteSetting("VerifyAfterSet", 1);
    StartOnStateFile();
    ASSERT_TRUE(app->OpenDocumentFile(MakeFile("sleep.pcg", "SLEEP:45\nVOLUME:2\nEND\n")));
    Click(id::kSetButton);
    std::vector<LogEntry> log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], logs::kCommandDone);
    EXPECT_EQ(log[log.size() - 2], (LogEntry{"Verifying...", 2}));
    EXPECT_EQ(log.back().kind, 1);
    EXPECT_TRUE(log.back().text.starts_with("Verified: ") && log.back().text.ends_with(" bytes"))
        << log.back().text;
    app.reset();

    // A terminal that acknowledges its first write without storing it.
    WindowOptions options;
    options.link = "sim:" + dir.File("lossy.bin") + "?fail=lose:1";
    Start(options);
    ASSERT_TRUE(app->OpenDocumentFile(MakeFile("sleep.pcg", "SLEEP:45\nVOLUME:2\nEND\n")));
    Click(id::kSetButton);
    log = Log();
    int failures = 0;
    for (const LogEntry& entry : log)
        if (entry.text.starts_with("Verification failed: page ")) {
            ++failures;
            EXPECT_EQ(entry.kind, 0);
            EXPECT_NE(entry.text.find(" offset "), std::string::npos);
            EXPECT_NE(entry.text.find(", not "), std::string::npos);
        }
    EXPECT_EQ(failures, 1) << "one write was lost";
    EXPECT_TRUE(Logged("Verifying..."));
}

TEST_F(CommandsWindowTest, FirmwareUpdateFromTheMenuUploadsWhenTheFormTimerExpires) {
    StartOnStateFile();
    const QString firmware = QString(VK930_FIRMWARE_DATA_DIR) + "/hsbt15.a20";
    ModalAnswerer answerer(
        {ClickControl(id::kOpenFwFileButton), PickFile(firmware), ClickControl(id::kOk)});
    Trigger(id::kCmdFirmwareUpdate);
    EXPECT_EQ(Log().back(), logs::kUploadStarted);
    EXPECT_TRUE(app->Host().FormTimerPending());
    ASSERT_TRUE(WaitUntil([&] { return Logged("UPLOADING DONE"); }, 10000));
    WaitForCommandThread();
    const std::vector<LogEntry> log = Log();
    EXPECT_EQ(logs::Last(log, 3), logs::UploadDone());
    EXPECT_EQ(sleeps.front(), 500);
    Click(id::kReadDeviceInfoButton);
    EXPECT_EQ(TextOf(id::kVersion), "1.5");
}

TEST_F(CommandsWindowTest, CancelledFirmwareDialogLogsTheCancellation) {
    Start();
    ModalAnswerer answerer({ClickControl(id::kCancel)});
    Trigger(id::kCmdFirmwareUpdate);
    EXPECT_EQ(Log(), logs::UploadCancelled());
    EXPECT_EQ(app->State().uploadPending, 0);
}

// The next-ID button counts with the bench's journal: a counter set back behind the window's
// back is not believed, and the window says so in a box of its own, the log keeping the
// command's lines.
TEST_F(CommandsWindowTest, ACounterSetBackIsToldInABoxAndNotBelieved) {
    // A state folder of this test's own: the journal holds this test's IDs only.
    const QByteArray stateBefore = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(dir.File("state")));
    WriteSetting("AllowEditSno", 1);
    WriteSetting("commID", 300);
    StartOnStateFile();
    ModalAnswerer answerer;
    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "301");
    EXPECT_EQ(answerer.Unexpected(), 0) << "a box without a notice to give";
    WriteSetting("commID", 100);  // set back by someone else
    std::vector<MessageBoxSeen> seen;
    answerer.Add(AcceptMessageBox(seen));
    Click(id::kNextCommIdButton);
    EXPECT_EQ(TextOf(id::kCommId), "302") << "the counter set back was believed";
    EXPECT_EQ(ReadSetting("commID").toInt(), 302);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (MessageBoxSeen{"Notice",
                                       "\"commID\" in the settings (100) is below the last ID "
                                       "handed out on this bench (301): counting on from 301"}));
    for (const LogEntry& entry : Log())
        EXPECT_EQ(entry.text.find("counting on"), std::string::npos) << "the notice was logged";
    EXPECT_EQ(answerer.Unexpected(), 0);
    app.reset();
    qputenv("XDG_STATE_HOME", stateBefore);
}

}  // namespace
}  // namespace vk930::test

// The application behind the window, driven by a window without a toolkit: the command map
// in use, input dropped while a job runs, the close question, the form timer's two duties,
// New, Open and the recent files.
#include "core/app/application.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "core/settings/recent_files.h"
#include "fake_front_end.h"
#include "support/command_fixture.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

class ApplicationTest : public CommandFixture {
  protected:
    // The application took the fixture's view (made on the in-process terminal by View()) as
    // it was built; a second UseTerminal here would replace that view under it.
    ApplicationTest() { front.app = &app; }

    // Starts with a new document and forgets what start-up did.
    void StartEmpty() {
        ASSERT_TRUE(app.Start(""));
        host.timerMs = -1;  // the initial update's timer has expired
        host.log.clear();
        ClearCalls();
    }

    bool Called(const std::string& prefix) const {
        return std::any_of(Calls().begin(), Calls().end(),
                           [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    }

    std::string TempFile(const std::string& name) {
        const std::string path = dir_.File(name);
        WriteFile(path, "END\n");
        return path;
    }

    MemoryRecentFiles recent;
    QueuedRunner runner;
    FakeFrontEnd front{host};
    int forgets = 0;
    Application app{AppParts{host, View(), state, recent, front, runner,
                             [](int port) { return "COM" + std::to_string(port) + ": reach"; },
                             [this] { ++forgets; }}};
};

TEST_F(ApplicationTest, AClickWhileAJobRunsIsDroppedAndNeverRunLater) {
    StartEmpty();
    app.OnCommand(id::kReadDeviceInfoButton);
    EXPECT_TRUE(app.CommandRunning());
    EXPECT_EQ(app.RunningJob(), TerminalJob::kIdentify);
    EXPECT_EQ(front.busy, std::vector<bool>{true});

    // A second job, a form button, a menu item, a typed CommID and a dropped file: all dropped.
    app.OnCommand(id::kGetButton);
    app.OnCommand(id::kClearListButton);
    app.OnCommand(id::kCmdComPort1 + 4);
    app.OnCommIdEdited("12345");
    EXPECT_EQ(View().Form().Text(id::kCommId), "") << "the typed CommID reached the form";
    EXPECT_FALSE(app.OpenDocumentFile(TempFile("dropped.pcg")));
    EXPECT_EQ(runner.starts, 1);
    EXPECT_EQ(runner.refused, 0) << "the application itself must not try to start a second job";
    EXPECT_EQ(state.comPort, 1);

    runner.Finish();
    EXPECT_FALSE(app.CommandRunning());
    EXPECT_EQ(front.busy, (std::vector<bool>{true, false}));
    EXPECT_TRUE(Called("GetVersionText"));
    EXPECT_TRUE(host.getParamsRequests.empty()) << "the dropped Get ran after all";
    EXPECT_TRUE(state.document.m_strFilePath.empty());
    EXPECT_EQ(front.progressClears, 1);
    EXPECT_EQ(runner.starts, 1);

    // Afterwards input counts again.
    app.OnCommand(id::kCmdComPort1 + 4);
    EXPECT_EQ(state.comPort, 5);
    EXPECT_EQ(front.portTexts.back(), "COM5: reach");
}

TEST_F(ApplicationTest, ClosingDuringAJobAsksOnceAndClosesWhenItHasStopped) {
    StartEmpty();
    app.OnCommand(id::kSetButton);
    front.answers = {true};
    app.OnCommand(id::kCloseButton);  // the form's "C&lose" asks through the window
    ASSERT_EQ(front.questions.size(), 1u);
    EXPECT_NE(front.questions[0].find("A parameter file is being programmed."), std::string::npos);
    EXPECT_NE(front.questions[0].find("Stop it after its current step and close?"),
              std::string::npos);
    EXPECT_TRUE(state.stop.Requested());
    EXPECT_FALSE(front.closed) << "closed under the running job";

    // Asked once: a second close (Exit, the frame's close box) asks nothing more.
    app.OnCommand(id::kCmdExit);
    EXPECT_FALSE(app.AllowClose());
    EXPECT_EQ(front.questions.size(), 1u);

    runner.Finish();
    EXPECT_TRUE(front.closed);
    EXPECT_FALSE(app.CommandRunning());
}

TEST_F(ApplicationTest, AnsweringNoLetsTheJobGoOnAndKeepsTheWindow) {
    StartEmpty();
    app.OnCommand(id::kGetButton);
    front.answers = {false};
    EXPECT_FALSE(app.AllowClose());
    EXPECT_FALSE(state.stop.Requested());
    EXPECT_NE(front.questions.at(0).find("The parameters are being read."), std::string::npos);
    host.getParamsAnswers.clear();  // the Get dialog is cancelled
    runner.Finish();
    EXPECT_FALSE(front.closed);
    // Outside jobs closing asks nothing.
    EXPECT_TRUE(app.AllowClose());
    app.OnCommand(id::kCmdExit);
    EXPECT_TRUE(front.closed);
    EXPECT_EQ(front.questions.size(), 1u);
}

TEST_F(ApplicationTest, TheConfirmedUploadWaitsForTheFormTimerAndRunsAsAJobOfItsOwn) {
    StartEmpty();
    host.firmwareAnswers.push_back({true, dir_.File("hsbt15.a20")});
    app.OnCommand(id::kCmdFirmwareUpdate);
    runner.Finish();  // the dialog and the port opened at 4800
    EXPECT_EQ(state.uploadPending, 1);
    EXPECT_EQ(host.timerMs, 100);
    EXPECT_FALSE(Called("UploadFirmware"));
    // Waiting for the timer counts as running: input is still dropped, close still asks.
    EXPECT_TRUE(app.CommandRunning());
    EXPECT_EQ(app.RunningJob(), TerminalJob::kUpload);
    EXPECT_EQ(front.busy, std::vector<bool>{true});
    app.OnCommand(id::kReadDeviceInfoButton);
    EXPECT_EQ(runner.starts, 1);

    host.timerMs = -1;
    app.OnFormTimer();
    EXPECT_EQ(runner.starts, 2);
    EXPECT_EQ(app.RunningJob(), TerminalJob::kUpload);
    runner.Finish();
    EXPECT_TRUE(Called("UploadFirmware"));
    EXPECT_EQ(state.uploadPending, 0);
    EXPECT_FALSE(app.CommandRunning());
    EXPECT_EQ(front.busy, (std::vector<bool>{true, true, false})) << "idle between the two";
    EXPECT_FALSE(Called("GetVersionText")) << "the click made while waiting ran";
}

TEST_F(ApplicationTest, ATimerExpiryDuringAJobIsServedWhenTheJobEnds) {
    const std::string file = TempFile("a.pcg");
    ASSERT_TRUE(app.Start(file));
    host.timerMs = -1;
    host.texts.erase(id::kFilePath);
    app.OnCommand(id::kReadDeviceInfoButton);
    app.OnFormTimer();  // the initial update's 300 ms ran out meanwhile
    EXPECT_EQ(host.texts.count(id::kFilePath), 0u) << "served under the running job";
    runner.Finish();
    EXPECT_EQ(host.texts[id::kFilePath], file);
    EXPECT_EQ(runner.starts, 1) << "the timer's first duty is no job";
}

TEST_F(ApplicationTest, OpenNewAndTheRecentFiles) {
    const std::string a = TempFile("a.pcg"), b = TempFile("b.pcg");
    ASSERT_TRUE(app.Start(""));
    EXPECT_EQ(host.title, kUntitledDocument);
    EXPECT_EQ(host.timerMs, 300) << "the initial update ran";
    EXPECT_EQ(front.fits, std::vector<bool>{false}) << "the first fit may grow the frame";

    front.openAnswers = {a};
    app.OnCommand(id::kCmdOpen);
    EXPECT_EQ(state.document.m_strFilePath, a);
    EXPECT_EQ(state.document.m_nFileOpened, 1);
    EXPECT_EQ(host.title, "a.pcg");
    EXPECT_EQ(front.fits, (std::vector<bool>{false, true}));
    ASSERT_TRUE(app.OpenDocumentFile(b));
    ASSERT_TRUE(app.OpenDocumentFile(a));
    EXPECT_EQ(recent.files, (std::vector<std::string>{a, b}));

    // A path relative to the working directory is kept whole.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir_.Path());
    const bool opened = app.OpenDocumentFile("./b.pcg");
    std::filesystem::current_path(before);
    ASSERT_TRUE(opened);
    EXPECT_EQ(state.document.m_strFilePath, b);

    // A cancelled dialog and a file that cannot be opened change nothing.
    app.OnCommand(id::kCmdOpen);
    host.boxes.clear();
    EXPECT_FALSE(app.OpenDocumentFile(dir_.File("missing.pcg")));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].second.find("missing.pcg"), std::string::npos);
    EXPECT_EQ(state.document.m_strFilePath, b);
    EXPECT_EQ(recent.files, (std::vector<std::string>{b, a}));

    app.OnCommand(id::kCmdNew);
    EXPECT_TRUE(state.document.m_strFilePath.empty());
    EXPECT_EQ(state.document.m_nFileOpened, 0);
    EXPECT_EQ(host.title, kUntitledDocument);
    EXPECT_EQ(recent.files.size(), 2u);
}

TEST_F(ApplicationTest, AStartWithAFileThatCannotBeOpenedFails) {
    EXPECT_FALSE(app.Start(dir_.File("missing.pcg")));
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(recent.files.empty());
}

TEST_F(ApplicationTest, ShellCommandsPortsAndDevices) {
    StartEmpty();
    host.AppendLog("old", kIconProgress);
    app.OnCommand(id::kClearListButton);
    EXPECT_TRUE(host.log.empty());
    app.OnCommand(id::kCmdAbout);
    EXPECT_EQ(front.abouts, 1);
    app.OnCommand(id::kCmdSave);  // no handler of the program's own: nothing at all
    app.OnCommand(4242);
    EXPECT_EQ(runner.starts, 0);
    EXPECT_FALSE(front.closed);

    app.OnCommand(id::kCmdComPort1 + 2);
    EXPECT_EQ(state.comPort, 3);
    EXPECT_EQ(settings.values["ComPort"], 3);
    app.OnComPortMenuShown();
    ASSERT_EQ(front.comPortItems.size(), 8u);
    for (const auto& [port, item] : front.comPortItems) {
        EXPECT_EQ(item.first, port == 3) << port;
        EXPECT_EQ(item.second, "COM" + std::to_string(port) + ": reach");
    }

    // The Devices dialog: links opened before are forgotten only when something changed.
    front.devicesAnswers = {false, true};
    app.OnCommand(id::kCmdDevices);
    EXPECT_EQ(forgets, 0);
    const std::size_t shown = front.portTexts.size();
    app.OnCommand(id::kCmdDevices);
    EXPECT_EQ(forgets, 1);
    EXPECT_EQ(front.portTexts.size(), shown + 1);

    // "Number a series..." opens its dialog on the GUI thread; not while a job runs.
    app.OnCommand(id::kCmdNumberSeries);
    EXPECT_EQ(front.seriesDialogs, 1);
    EXPECT_EQ(runner.starts, 0);
    app.OnCommand(id::kReadDeviceInfoButton);
    ASSERT_TRUE(runner.Running());
    app.OnCommand(id::kCmdNumberSeries);
    runner.Finish();
    EXPECT_EQ(front.seriesDialogs, 1);
}

}  // namespace
}  // namespace vk930::test

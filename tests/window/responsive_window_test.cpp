// The window while a command runs on the command thread: its log entries show as they are
// appended, input made meanwhile is dropped, closing asks whether to stop it, and the link
// control's place shows what the port reaches and how far the command has got.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "platform/port_assignment.h"
#include "window/link_area.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

constexpr int kCommIdWaitMs = 4000;

// Holds the command in its 4 s wait after a CommID write until the test lets it go on.
class HeldCommandTest : public WindowTest {
  protected:
    void SetUp() override {
        onSleep = [this](int ms) {
            if (ms != kCommIdWaitMs) return;
            held_ = true;
            for (int waited = 0; !released_ && waited < kHoldLimitMs; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            held_ = false;
        };
    }
    void TearDown() override {
        released_ = true;
        WindowTest::TearDown();
    }

    // Starts a CommID write of 300 and returns once it waits for the terminal's restart.
    void StartHeldCommIdWrite() {
        WriteSetting("AllowEditSno", 1);
        Start();
        auto* edit = qobject_cast<QLineEdit*>(Control(id::kCommId));
        edit->selectAll();
        QTest::keyClicks(edit, "300");  // typed over the stored ID
        qobject_cast<QPushButton*>(Control(id::kSetCommIdButton))->click();
        ASSERT_TRUE(WaitUntil([&] { return held_.load(); }, 10000));
    }
    void Release() {
        released_ = true;
        WaitForCommandThread();
    }
    int Count(const std::string& text) {
        int n = 0;
        for (const LogEntry& entry : Log()) n += entry.text == text;
        return n;
    }
    LinkArea& Link() { return app->Form().Link(); }

    std::atomic<bool> held_{false};
    std::atomic<bool> released_{false};
    static constexpr int kHoldLimitMs = 20000;
};

ModalAnswerer::Action Answer(QMessageBox::StandardButton button,
                             std::vector<MessageBoxSeen>& seen) {
    return [button, &seen](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        seen.push_back(box ? MessageBoxSeen{box->windowTitle(), box->text()}
                           : MessageBoxSeen{"not a message box", ""});
        if (box && box->button(button)) box->button(button)->click();
    };
}

TEST_F(HeldCommandTest, LogEntriesAndTheCountdownShowWhileTheCommandWaits) {
    StartHeldCommIdWrite();
    // Seen from the window's event loop while the command is held in its wait.
    std::vector<LogEntry> seenDuring;
    QString progressDuring;
    bool runningDuring = false;
    QTimer::singleShot(0, [&] {
        seenDuring = Log();
        progressDuring = Link().ProgressText();
        runningDuring = app->CommandRunning();
    });
    ASSERT_TRUE(WaitUntil([&] { return runningDuring; }));
    EXPECT_EQ(seenDuring, (std::vector<LogEntry>{{"Open COM1", 2},
                                                 {"Searching VK930 device..", 2},
                                                 {"Reading Info OK", 2},
                                                 {"commID written successful. Resetting...", 2}}));
    EXPECT_TRUE(progressDuring.startsWith("Terminal restarting: ")) << ToStd(progressDuring);
    EXPECT_TRUE(Link().Bar().isVisible());
    EXPECT_FALSE(Control(id::kReadDeviceInfoButton)->isEnabled());
    EXPECT_FALSE(app->Frame().MenuCommand(id::kCmdFirmwareUpdate)->isEnabled());
    EXPECT_TRUE(app->Frame().MenuCommand(id::kCmdExit)->isEnabled());
    // The newest entry is in view.
    auto& view = app->Form().Log();
    const QModelIndex last = view.model()->index(view.model()->rowCount() - 1, 0);
    EXPECT_TRUE(view.viewport()->rect().contains(view.visualRect(last)));

    Release();
    EXPECT_EQ(Log().back(), (LogEntry{"Done", 1}));
    EXPECT_EQ(TextOf(id::kCommId), "300");
    EXPECT_EQ(Link().ProgressText(), "");
    EXPECT_FALSE(Link().Bar().isVisible());
    EXPECT_TRUE(Control(id::kReadDeviceInfoButton)->isEnabled());
    EXPECT_TRUE(app->Frame().MenuCommand(id::kCmdFirmwareUpdate)->isEnabled());
}

TEST_F(HeldCommandTest, InputMadeDuringACommandIsNeverRunAfterIt) {
    StartHeldCommIdWrite();
    ModalAnswerer answerer;  // none of the dropped commands may show its dialog afterwards
    qobject_cast<QPushButton*>(Control(id::kReadDeviceInfoButton))->click();
    qobject_cast<QPushButton*>(Control(id::kSetCommIdButton))->click();
    app->Frame().MenuCommand(id::kCmdFirmwareUpdate)->trigger();
    app->Frame().MenuCommand(id::kCmdComPort1 + 2)->trigger();
    QTest::keyClick(&app->Frame(), Qt::Key_O, Qt::ControlModifier);
    // What reaches the command map by another way (a click queued before the buttons were
    // disabled) is dropped there.
    emit app->Form().command(id::kGetButton);
    emit app->Form().command(id::kReadDeviceInfoButton);
    emit app->Frame().command(id::kCmdAbout);
    QTest::keyClicks(Control(id::kCommId), "9");
    Release();
    ProcessEventsFor(300);
    EXPECT_FALSE(app->Runner().Running());
    EXPECT_EQ(Count("Done"), 1);  // the identification of the CommID write only
    EXPECT_EQ(Count("Open COM1"), 2);
    EXPECT_EQ(app->State().comPort, 1);
    EXPECT_EQ(TextOf(id::kCommId), "300");
    EXPECT_EQ(answerer.Answered() + answerer.Unexpected(), 0);
}

TEST_F(HeldCommandTest, ClosingDuringACommandAsksOnceAndClosesWhenItHasEnded) {
    StartHeldCommIdWrite();
    std::vector<MessageBoxSeen> seen;
    ModalAnswerer answerer({Answer(QMessageBox::No, seen), Answer(QMessageBox::Yes, seen)});
    EXPECT_FALSE(app->Frame().close());  // "No": the command goes on
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "VK930Config");
    EXPECT_TRUE(seen[0].text.contains("communication ID")) << ToStd(seen[0].text);
    EXPECT_TRUE(seen[0].text.contains("Stop it after its current step")) << ToStd(seen[0].text);
    EXPECT_FALSE(app->State().stop.Requested());
    EXPECT_TRUE(app->Frame().isVisible());

    EXPECT_FALSE(Control(id::kCloseButton)->isHidden());
    EXPECT_TRUE(Control(id::kCloseButton)->isEnabled());
    qobject_cast<QPushButton*>(Control(id::kCloseButton))->click();  // "Yes"
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(app->State().stop.Requested());
    EXPECT_TRUE(app->Frame().isVisible());  // until the command has ended
    EXPECT_FALSE(app->Frame().close());     // asked once: no second question
    EXPECT_EQ(seen.size(), 2u);

    Release();
    EXPECT_TRUE(WaitUntil([&] { return !app->Frame().isVisible(); }));
    EXPECT_EQ(answerer.Unexpected(), 0);
}

TEST_F(HeldCommandTest, ClosingOutsideACommandNeverAsks) {
    StartHeldCommIdWrite();
    Release();
    ModalAnswerer answerer;
    EXPECT_TRUE(app->Frame().close());
    EXPECT_EQ(answerer.Answered() + answerer.Unexpected(), 0);
}

class LinkAreaTest : public WindowTest {};

TEST_F(LinkAreaTest, ShowsWhatEachPortReaches) {
    // The texts of single specs are the core's (tests/core/app/link_place_text_test.cpp).
    WriteSetting("ComPort", 2);
    WriteSetting("Device2", "/dev/ttyUSB0");
    WriteSetting("Device3", "none");
    WindowOptions options;
    options.link = std::nullopt;
    Make(options);  // the fixture's default link is replaced by the settings' devices
    EXPECT_EQ(PortReachText(2, std::nullopt, app->Settings()), "COM2: /dev/ttyUSB0, 19200 8N1");
    EXPECT_EQ(PortReachText(5, std::nullopt, app->Settings()), "COM5: /dev/ttyS4, 19200 8N1");

    app.reset();
    Start();  // every port reaches the simulated terminal
    EXPECT_EQ(app->Form().Link().PortText(), "COM2: simulated terminal");
    Trigger(id::kCmdComPort1 + 6);
    EXPECT_EQ(app->Form().Link().PortText(), "COM7: simulated terminal");
    QMenu* menu = app->Frame().ComPortMenu();
    emit menu->aboutToShow();
    EXPECT_TRUE(menu->toolTipsVisible());
    for (int port = 1; port <= 8; ++port) {
        QAction* item = app->Frame().MenuCommand(id::kCmdComPort1 + port - 1);
        EXPECT_EQ(item->toolTip(), QString("COM%1: simulated terminal").arg(port));
        // Only the port in use is checkable: the others show no empty check box.
        EXPECT_EQ(item->isCheckable(), port == 7) << port;
        EXPECT_EQ(item->isChecked(), port == 7) << port;
    }
}

TEST_F(LinkAreaTest, AnUploadShowsItsBytesAndTimeLeftAndTheBarGoesWhenItEnds) {
    WindowOptions options;
    options.link = "sim:" + dir.File("terminal.bin");
    Start(options);
    // What the bar and the line said each time the upload reported, seen on the GUI thread.
    std::vector<std::pair<int, QString>> shown;
    int total = 0;
    const QProgressBar& bar = app->Form().Link().Bar();
    QObject::connect(&bar, &QProgressBar::valueChanged, [&](int value) {
        if (bar.maximum() <= 1) return;
        total = bar.maximum();
        shown.emplace_back(value, app->Form().Link().ProgressText());
    });
    const QString firmware = QString(VK930_FIRMWARE_DATA_DIR) + "/hsbt15.a20";
    ModalAnswerer answerer(
        {ClickControl(id::kOpenFwFileButton), PickFile(firmware), ClickControl(id::kOk)});
    Trigger(id::kCmdFirmwareUpdate);
    ASSERT_TRUE(WaitUntil([&] { return !app->CommandRunning(); }, 20000));
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.back().first, total);
    EXPECT_EQ(shown.back().second, QString("Firmware: %1/%1 bytes, 0:00 left").arg(total));
    EXPECT_TRUE(shown[shown.size() / 2].second.startsWith(
        QString("Firmware: %1/%2 bytes, ").arg(shown[shown.size() / 2].first).arg(total)));
    EXPECT_EQ(Log().back(), (LogEntry{"REMOVE BATTERIES AND PUT THEM BACK AGAIN", 2}));
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(app->Form().Link().ProgressText(), "");
}

TEST_F(LinkAreaTest, ProgressFromTheCommandThreadReachesTheLinkArea) {
    Start();
    // Another thread's call waits until the GUI thread has carried it out.
    std::thread command([&] { app->Host().Progress({ProgressKind::kLines, 12, 0}); });
    EXPECT_TRUE(
        WaitUntil([&] { return app->Form().Link().ProgressText() == "Set: 12 lines applied"; }));
    command.join();
    EXPECT_FALSE(app->Form().Link().Bar().isVisible());
}

}  // namespace
}  // namespace vk930::test

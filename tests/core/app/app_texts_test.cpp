// The texts the application layer gives every window: the command map, the close question,
// the link control's place, the log's control-character pictures and the instance name.
#include <gtest/gtest.h>

#include <set>

#include "core/app/close_question.h"
#include "core/app/command_map.h"
#include "core/app/link_place_text.h"
#include "core/app/log_pictures.h"
#include "core/app/proof_notices.h"
#include "core/app/single_instance.h"
#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"
#include "core/forms/menu_template.h"
#include "core/link/com_port_names.h"

namespace vk930::test {
namespace {

using namespace std::chrono_literals;

TEST(CommandMap, EveryButtonAndMenuItemHasItsCommandAndTheJobsAreTheTerminalOnes) {
    const std::map<int, std::optional<TerminalJob>> expected = {
        {id::kReadDeviceInfoButton, TerminalJob::kIdentify},
        {id::kSetCommIdButton, TerminalJob::kCommId},
        {id::kNextCommIdButton, TerminalJob::kCommId},
        {id::kGetButton, TerminalJob::kGet},
        {id::kGetKeyedButton, TerminalJob::kGet},
        {id::kSetButton, TerminalJob::kSet},
        {id::kSetRunButton, TerminalJob::kSet},
        {id::kCmdFirmwareUpdate, TerminalJob::kUpload},
        {id::kClearListButton, std::nullopt},
        {id::kEditWithNotepadButton, std::nullopt},
        {id::kCloseButton, std::nullopt},
        {id::kCmdNew, std::nullopt},
        {id::kCmdOpen, std::nullopt},
        {id::kCmdAbout, std::nullopt},
        {id::kCmdExit, std::nullopt},
        {id::kCmdDevices, std::nullopt},
        {id::kCmdNumberSeries, std::nullopt},
        // The Tools dialogs open on the GUI thread and run their terminal work as jobs.
        {id::kCmdCompare, std::nullopt},
        {id::kCmdBackups, std::nullopt},
        {id::kCmdServiceHistory, std::nullopt},
    };
    for (const auto& [commandId, job] : expected) {
        const std::optional<AppCommand> command = FindAppCommand(commandId);
        ASSERT_TRUE(command) << commandId;
        EXPECT_EQ(command->job, job) << commandId;
    }
    // Every button of the form and every item of the menu has a command.
    for (const DialogControl& control : MainFormTemplate().controls) {
        if (control.kind == ControlKind::kPushButton ||
            control.kind == ControlKind::kDefaultPushButton) {
            EXPECT_TRUE(FindAppCommand(control.id)) << control.caption;
        }
    }
    for (const MenuPopup& popup : MainMenuTemplate()) {
        for (const MenuItem& item : popup.items) {
            if (item.id != kSeparator) {
                EXPECT_TRUE(FindAppCommand(item.id)) << item.text;
            }
        }
    }
    for (int port = 1; port <= kPortCount; ++port) {
        const std::optional<AppCommand> command = FindAppCommand(id::kCmdComPort1 + port - 1);
        ASSERT_TRUE(command);
        EXPECT_EQ(command->action, AppAction::kSelectComPort);
        EXPECT_EQ(command->port, port);
        EXPECT_FALSE(command->job);
    }
    EXPECT_FALSE(FindAppCommand(id::kCmdComPort1 - 1));
    // The accelerators without a handler of the program's own reach nothing.
    for (const int none : {id::kCmdSave, id::kCmdUndo, id::kCmdCut, id::kCmdCopy, id::kCmdPaste,
                           id::kCmdNextPane, id::kCmdPrevPane, id::kLog, id::kCommId})
        EXPECT_FALSE(FindAppCommand(none)) << none;
}

TEST(CommandMap, OnlyLeavingTheProgramTakesInputWhileBusy) {
    std::set<int> taking;
    for (int commandId = 0; commandId < 65536; ++commandId)
        if (TakesInputWhileBusy(commandId)) taking.insert(commandId);
    EXPECT_EQ(taking, (std::set<int>{id::kCloseButton, id::kCmdExit}));
}

TEST(CloseQuestion, SaysWhatStoppingEachJobLeavesAndAsks) {
    EXPECT_EQ(LeftWhenStopped(TerminalJob::kUpload), TerminalLeft::kInBootLoader);
    EXPECT_EQ(LeftWhenStopped(TerminalJob::kSet), TerminalLeft::kPartlyProgrammed);
    EXPECT_EQ(LeftWhenStopped(TerminalJob::kCommId), TerminalLeft::kPartlyProgrammed);
    EXPECT_EQ(LeftWhenStopped(TerminalJob::kGet), TerminalLeft::kUntouched);
    EXPECT_EQ(LeftWhenStopped(TerminalJob::kIdentify), TerminalLeft::kUntouched);
    EXPECT_EQ(CloseQuestion(TerminalJob::kUpload),
              "A firmware upload is running. Stopped now, the terminal stays in its boot loader "
              "without a complete firmware: it must be uploaded again before the terminal can "
              "be used.\n\nStop it after its current step and close?");
    EXPECT_EQ(CloseQuestion(TerminalJob::kIdentify),
              "The terminal is being identified. Stopped now, the fields show what was read so "
              "far.\n\nStop it after its current step and close?");
    std::set<std::string> texts;
    for (const TerminalJob job : {TerminalJob::kIdentify, TerminalJob::kCommId, TerminalJob::kGet,
                                  TerminalJob::kSet, TerminalJob::kUpload})
        texts.insert(CloseQuestion(job));
    EXPECT_EQ(texts.size(), 5u) << "two jobs share a text";
    EXPECT_NE(CloseQuestion(TerminalJob::kGet).find("no file is written"), std::string::npos);
    EXPECT_NE(CloseQuestion(TerminalJob::kCommId).find("may have the new ID"), std::string::npos);
    EXPECT_NE(CloseQuestion(TerminalJob::kSet).find("the function keys and the reset"),
              std::string::npos);
}

TEST(LinkPlace, ShowsWhatEachPortReaches) {
    EXPECT_EQ(PortReachText(1, "/dev/ttyUSB0"), "COM1: /dev/ttyUSB0, 19200 8N1");
    EXPECT_EQ(PortReachText(1, "sim:/tmp/t.bin?type=5"), "COM1: simulated terminal");
    EXPECT_EQ(PortReachText(4, "none"), "COM4: nothing configured");
    EXPECT_TRUE(PortReachText(2, "sim?bogus").starts_with("COM2: sim?bogus ("));
    EXPECT_EQ(PortReachText(0, "/dev/ttyS0"), "No COM port chosen");
    EXPECT_EQ(PortReachText(kPortCount + 1, "none"), "No COM port chosen");

    EXPECT_EQ(ReachOfSpec("/dev/ttyUSB0").kind, SpecReach::Kind::kDevice);
    EXPECT_EQ(ReachOfSpec("/dev/ttyUSB0").devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(ReachOfSpec("sim").kind, SpecReach::Kind::kSim);
    EXPECT_EQ(ReachOfSpec("none").kind, SpecReach::Kind::kNone);
    const SpecReach bad = ReachOfSpec("sim?bogus");
    EXPECT_EQ(bad.kind, SpecReach::Kind::kBad);
    EXPECT_FALSE(bad.problem.empty());
}

TEST(LinkPlace, ProgressAndCountdownTexts) {
    EXPECT_EQ(UploadProgressText(100, 100, 5s), "Firmware: 100/100 bytes, 0:00 left");
    EXPECT_EQ(UploadProgressText(0, 100, 0ms), "Firmware: 0/100 bytes, -:-- left");
    EXPECT_EQ(UploadProgressText(50, 100, 30s), "Firmware: 50/100 bytes, 0:30 left");
    EXPECT_EQ(LinesProgressText(12), "Set: 12 lines applied");
    // Whole seconds rounded up: 0 only when the wait is over.
    EXPECT_EQ(CountdownText(3000ms), "Terminal restarting: 3 s");
    EXPECT_EQ(CountdownText(2001ms), "Terminal restarting: 3 s");
    EXPECT_EQ(CountdownText(1ms), "Terminal restarting: 1 s");
    EXPECT_EQ(CountdownText(0ms), "Terminal restarting: 0 s");
    EXPECT_EQ(CountdownText(-50ms), "Terminal restarting: 0 s");
}

TEST(LogPictures, ControlCharactersShowAsPicturesAndLineBreakersAsReplacement) {
    for (char16_t c = 0; c < 0x20; ++c) EXPECT_EQ(LogPicture(c), 0x2400 + c) << int(c);
    EXPECT_EQ(LogPicture(0x7F), 0x2421);
    for (char16_t c = 0x80; c <= 0x9F; ++c) EXPECT_EQ(LogPicture(c), 0xFFFD) << int(c);
    EXPECT_EQ(LogPicture(0x2028), 0xFFFD);
    EXPECT_EQ(LogPicture(0x2029), 0xFFFD);
    for (const char16_t kept : {u'A', u' ', u'~', u'\u00A0', u'\u00E9', u'\u2400', u'\xD83D'})
        EXPECT_EQ(LogPicture(kept), kept) << int(kept);
    EXPECT_EQ(LogPictures(u"A\rB\n\x7F"), u"A\u240DB\u240A\u2421");
    EXPECT_EQ(LogPictures(u""), u"");
}

TEST(ProofNotices, TheBackupLineNamesTheFileAndTheServiceLogBoxSaysWhy) {
    EXPECT_EQ(BackupLineText("/state/backups/20261209-0110-COM1-id1.pcg"),
              "Backup: 20261209-0110-COM1-id1.pcg");
    EXPECT_EQ(BackupLineText("b.pcg"), "Backup: b.pcg");
    EXPECT_EQ(ServiceLogFailedText("disk full"),
              "The service log cannot be written; the commands go on without it.\ndisk full");
}

TEST(SingleInstance, OneNamePerSettingsFileTheSameInEveryProcess) {
    EXPECT_EQ(InstanceName("/a.ini"), InstanceName("/a.ini"));
    EXPECT_NE(InstanceName("/a.ini"), InstanceName("/b.ini"));
    // Fixed by the hash's definition (FNV-1a of the path), not by this build.
    EXPECT_EQ(InstanceName(""), "vk930config-cbf29ce48422");
    EXPECT_EQ(InstanceName("/a.ini").size(), std::string("vk930config-").size() + 12);
    EXPECT_TRUE(OffersFileToRunningWindow("/x.pcg"));
    EXPECT_FALSE(OffersFileToRunningWindow(""));
}

}  // namespace
}  // namespace vk930::test

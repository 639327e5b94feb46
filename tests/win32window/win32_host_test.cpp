// The host contract on the Win32 frame: log, form controls, title, timer, working folder,
// editor, and the boxes and dialogs answered by a helper thread as a user would.
#include "win32window/win32_host.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "win32window/wide_text.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

class Win32HostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::InitCommonControlsOnce();
        FrameCallbacks callbacks;
        callbacks.timer = [this](int timer) { timers_.push_back(timer); };
        frame_ = std::make_unique<MainFrame>(GetModuleHandleW(nullptr), std::move(callbacks));
        ASSERT_TRUE(frame_->Create()) << frame_->LastError();
        host_ = std::make_unique<Win32Host>(
            *frame_,
            [this](const FileDialogRequest& request, HWND) {
                requests_.push_back(request);
                return fileAnswer_;
            },
            [this](const std::string& path) { edited_.push_back(path); });
    }
    void TearDown() override {
        host_.reset();
        frame_.reset();
        test::PumpMessages();
    }
    HWND Item(int id) const { return GetDlgItem(frame_->Form(), id); }

    std::unique_ptr<MainFrame> frame_;
    std::unique_ptr<Win32Host> host_;
    std::vector<FileDialogRequest> requests_;
    FileDialogAnswer fileAnswer_;
    std::vector<std::string> edited_;
    std::vector<int> timers_;
};

TEST_F(Win32HostTest, FormControlsFollowTheCalls) {
    host_->SetControlText(id::kType, "VK930");
    EXPECT_EQ(test::WindowText(Item(id::kType)), "VK930");
    EXPECT_FALSE(IsWindowVisible(Item(id::kSetCommIdButton)));  // hidden by the template
    host_->SetControlVisible(id::kSetCommIdButton, true);
    EXPECT_NE(GetWindowLongW(Item(id::kSetCommIdButton), GWL_STYLE) & WS_VISIBLE, 0);
    host_->SetControlVisible(id::kSetCommIdButton, false);
    EXPECT_EQ(GetWindowLongW(Item(id::kSetCommIdButton), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_NE(GetWindowLongW(Item(id::kCommId), GWL_STYLE) & ES_READONLY, 0);
    host_->SetControlReadOnly(id::kCommId, false);
    EXPECT_EQ(GetWindowLongW(Item(id::kCommId), GWL_STYLE) & ES_READONLY, 0);
    host_->SetDocumentTitle("a.pcg");
    EXPECT_EQ(test::WindowText(frame_->Window()), "VK930Config - a.pcg");
}

TEST_F(Win32HostTest, LogEntriesAndClearReachTheList) {
    host_->AppendLog("Reading info...", kIconProgress);
    host_->AppendEntry("Warning! Sleep value range should be 5-99 sec.", kIconFailure,
                       EntrySeverity::kWarning);
    EXPECT_EQ(ListView_GetItemCount(Item(id::kLog)), 2);
    host_->ClearLog();
    EXPECT_EQ(ListView_GetItemCount(Item(id::kLog)), 0);
}

TEST_F(Win32HostTest, TheFormTimerFiresOnceItIsStartedAndNotAfterItIsStopped) {
    host_->StartFormTimer(1);
    ASSERT_TRUE(test::PumpUntil([&] { return !timers_.empty(); }));
    EXPECT_EQ(timers_.front(), id::kFormTimer);
    host_->StopFormTimer();
    // Stopped before it could fire: the timer's message never comes.
    timers_.clear();
    host_->StartFormTimer(60000);
    host_->StopFormTimer();
    test::PumpMessages();
    EXPECT_TRUE(timers_.empty());
}

TEST_F(Win32HostTest, WorkingFolderAndEditor) {
    const std::optional<std::string> start = host_->CurrentDirectory();
    ASSERT_TRUE(start.has_value());
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    ASSERT_TRUE(host_->SetCurrentDirectory(temp));
    EXPECT_NE(host_->CurrentDirectory(), start);
    EXPECT_FALSE(host_->SetCurrentDirectory("Z:\\no such folder\\at all"));
    ASSERT_TRUE(host_->SetCurrentDirectory(*start));
    EXPECT_EQ(host_->CurrentDirectory(), start);
    host_->StartEditor("C:\\a b\\unit.pcg");
    host_->StartEditor("");
    EXPECT_EQ(edited_, (std::vector<std::string>{"C:\\a b\\unit.pcg", ""}));
}

TEST_F(Win32HostTest, AMessageBoxShowsItsTextUntilItIsAnswered) {
    std::string seen;
    test::DialogAnswerer answerer("Get Parameters", [&](HWND box) {
        seen = test::BoxText(box);
        test::PressButton(box, IDOK);
    });
    host_->MessageBox("Please select the file", "Get Parameters");
    EXPECT_NE(seen.find("Please select the file"), std::string::npos) << seen;
}

TEST_F(Win32HostTest, TheFirmwareDialogReturnsThePathItShows) {
    fileAnswer_ = {true, "C:\\fw\\hsbt15.a20"};
    std::string shown;
    {
        test::DialogAnswerer answerer("VK930 Firmware upload", [&](HWND dialog) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kOpenFwFileButton, BN_CLICKED), 0);
            shown = test::WindowText(GetDlgItem(dialog, id::kFwFilePath));
            test::PressButton(dialog, IDOK);
        });
        const FirmwareDialogAnswer answer = host_->RunFirmwareDialog();
        EXPECT_TRUE(answer.ok);
        EXPECT_EQ(answer.file, "C:\\fw\\hsbt15.a20");
    }
    EXPECT_EQ(shown, "C:\\fw\\hsbt15.a20");
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_FALSE(requests_[0].save);
    EXPECT_EQ(requests_[0].defaultExtension, "a20");
    EXPECT_EQ(requests_[0].initialName, "hsbt*.a20");
    EXPECT_EQ(requests_[0].filterName, "VK930 FW files (hsbt*.a20)");
    EXPECT_EQ(requests_[0].filterPattern, "hsbt*.a20");
}

TEST_F(Win32HostTest, TheFirmwareDialogKeepsAnEarlierChoiceAndCancelReturnsNothing) {
    fileAnswer_ = {true, "C:\\fw\\hsbt14.a20"};
    {
        test::DialogAnswerer answerer("VK930 Firmware upload", [&](HWND dialog) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kOpenFwFileButton, BN_CLICKED), 0);
            fileAnswer_ = {};  // the second file dialog is cancelled
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kOpenFwFileButton, BN_CLICKED), 0);
            test::PressButton(dialog, IDOK);
        });
        EXPECT_EQ(host_->RunFirmwareDialog().file, "C:\\fw\\hsbt14.a20");
    }
    {
        test::DialogAnswerer answerer("VK930 Firmware upload",
                                      [&](HWND dialog) { test::PressButton(dialog, IDCANCEL); });
        EXPECT_FALSE(host_->RunFirmwareDialog().ok);
    }
    {
        // Started without a choice: OK with an empty path.
        test::DialogAnswerer answerer("VK930 Firmware upload",
                                      [&](HWND dialog) { test::PressButton(dialog, IDOK); });
        const FirmwareDialogAnswer answer = host_->RunFirmwareDialog();
        EXPECT_TRUE(answer.ok);
        EXPECT_EQ(answer.file, "");
    }
}

TEST_F(Win32HostTest, TheGetParametersDialogAnswersPortAndPath) {
    const std::string caption = "Get Parameters from VK930 device";
    {
        std::string selected;
        test::DialogAnswerer answerer(caption, [&](HWND dialog) {
            selected = test::WindowText(GetDlgItem(dialog, id::kGetParamsPortList));
            test::PressButton(dialog, IDOK);
        });
        const GetParamsDialogAnswer answer = host_->RunGetParamsDialog(2, "C:\\p\\old.pcg");
        EXPECT_TRUE(answer.ok);
        EXPECT_EQ(answer.portIndex, 2);
        EXPECT_EQ(answer.path, "C:\\p\\old.pcg");
        EXPECT_EQ(selected, "COM3");
    }
    {
        fileAnswer_ = {true, "C:\\p\\new.pcg"};
        test::DialogAnswerer answerer(caption, [&](HWND dialog) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kGetParamsSaveButton, BN_CLICKED), 0);
            test::PressButton(dialog, IDOK);
        });
        // A port the list does not have leaves no entry selected.
        const GetParamsDialogAnswer answer = host_->RunGetParamsDialog(7, "");
        EXPECT_TRUE(answer.ok);
        EXPECT_EQ(answer.portIndex, -1);
        EXPECT_EQ(answer.path, "C:\\p\\new.pcg");
        ASSERT_FALSE(requests_.empty());
        EXPECT_TRUE(requests_.back().save);
        EXPECT_EQ(requests_.back().defaultExtension, "pcg");
        EXPECT_EQ(requests_.back().initialName, "*.pcg");
    }
    {
        test::DialogAnswerer answerer(caption,
                                      [&](HWND dialog) { test::PressButton(dialog, IDCANCEL); });
        EXPECT_FALSE(host_->RunGetParamsDialog(0, "x.pcg").ok);
    }
}

}  // namespace
}  // namespace vk930

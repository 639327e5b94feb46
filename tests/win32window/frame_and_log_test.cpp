// The main frame (style, caption, what it forwards) and the operation log's list view.
#include <gtest/gtest.h>
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include <utility>
#include <vector>

#include "core/forms/form_ids.h"
#include "win32window/main_frame.h"
#include "win32window/wide_text.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::InitCommonControlsOnce();
        FrameCallbacks callbacks;
        callbacks.command = [this](int id, int code) { commands_.emplace_back(id, code); };
        callbacks.checked = [this](int id) { return id == checkedId_; };
        callbacks.timer = [this](int timer) { timers_.push_back(timer); };
        callbacks.mayClose = [this] { return mayClose_; };
        frame_ = std::make_unique<MainFrame>(GetModuleHandleW(nullptr), std::move(callbacks));
        ASSERT_TRUE(frame_->Create()) << frame_->LastError();
    }
    void TearDown() override {
        frame_.reset();
        test::PumpMessages();
    }
    HWND List() const { return GetDlgItem(frame_->Form(), id::kLog); }
    std::string ItemText(int index) const {
        wchar_t text[512] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        return Narrow(text);
    }
    int ItemImage(int index) const {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        ListView_GetItem(List(), &item);
        return item.iImage;
    }

    std::unique_ptr<MainFrame> frame_;
    std::vector<std::pair<int, int>> commands_;
    std::vector<int> timers_;
    int checkedId_ = 0;
    bool mayClose_ = true;
};

TEST_F(FrameTest, TheFrameIsSizableWithoutMinimiseOrMaximiseAndNamesTheDocument) {
    const LONG style = GetWindowLongW(frame_->Window(), GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(test::WindowText(frame_->Window()), "VK930Config - Untitled");
    frame_->SetDocumentTitle("C:\\data\\unit 7.pcg");
    EXPECT_EQ(test::WindowText(frame_->Window()), "VK930Config - C:\\data\\unit 7.pcg");
    EXPECT_EQ(GetMenu(frame_->Window()), frame_->Menu());
    EXPECT_FALSE(IsWindowVisible(frame_->Window()));  // shown only when the program says
}

TEST_F(FrameTest, MenusButtonsAndTheTimerReachTheCallbacksWithTheirIds) {
    SendMessageW(frame_->Window(), WM_COMMAND, MAKEWPARAM(id::kCmdComPort1 + 2, 0), 0);
    HWND button = GetDlgItem(frame_->Form(), id::kReadDeviceInfoButton);
    SendMessageW(button, BM_CLICK, 0, 0);
    SetDlgItemTextW(frame_->Form(), id::kCommId, L"10001");
    ASSERT_GE(commands_.size(), 3u);
    EXPECT_EQ(commands_[0], std::make_pair(id::kCmdComPort1 + 2, 0));
    EXPECT_EQ(commands_[1], std::make_pair(id::kReadDeviceInfoButton, int{BN_CLICKED}));
    EXPECT_EQ(commands_.back(), std::make_pair(id::kCommId, int{EN_CHANGE}));
    SetTimer(frame_->Form(), id::kFormTimer, 1, nullptr);
    EXPECT_TRUE(test::PumpUntil([&] { return !timers_.empty(); }));
    KillTimer(frame_->Form(), id::kFormTimer);
    EXPECT_EQ(timers_.front(), id::kFormTimer);
}

TEST_F(FrameTest, OpeningAPopupAsksForEveryCheckMark) {
    HMENU ports = GetSubMenu(frame_->Menu(), 1);
    checkedId_ = id::kCmdComPort1 + 4;
    SendMessageW(frame_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(ports), 1);
    for (int port = 1; port <= 8; ++port) {
        const UINT state =
            GetMenuState(ports, static_cast<UINT>(id::kCmdComPort1 + port - 1), MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, port == 5) << "COM" << port;
    }
    checkedId_ = 0;  // the port of a closed settings key: no mark
    SendMessageW(frame_->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(ports), 1);
    EXPECT_EQ(
        GetMenuState(ports, static_cast<UINT>(id::kCmdComPort1 + 4), MF_BYCOMMAND) & MF_CHECKED,
        0u);
}

TEST_F(FrameTest, TheCloseRequestIsAskedAndARefusalKeepsTheWindow) {
    mayClose_ = false;
    SendMessageW(frame_->Window(), WM_CLOSE, 0, 0);
    ASSERT_NE(frame_->Window(), nullptr);
    EXPECT_TRUE(IsWindow(frame_->Window()));
    mayClose_ = true;
    HWND window = frame_->Window();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(frame_->Window(), nullptr);
}

TEST_F(FrameTest, TheLogIsAReportListWithOneStatusColumnAndThreeSmallIcons) {
    HWND list = List();
    EXPECT_EQ(test::ClassName(list), "SysListView32");
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(style & WS_TABSTOP, 0);
    // The border of the template, drawn as the sunken edge of common controls.
    EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    EXPECT_EQ(style & LVS_SORTASCENDING, 0);
    EXPECT_EQ(ListView_GetExtendedListViewStyle(list), 34u);

    wchar_t heading[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(Narrow(heading), "Status");
    EXPECT_EQ(column.cx, 280);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    LVCOLUMNW second{};
    second.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&second)));

    HIMAGELIST images = ListView_GetImageList(list, LVSIL_SMALL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
}

TEST_F(FrameTest, EntriesGoToTheEndWithTheirIconAndClearingStartsAgainAtZero) {
    LogView& log = frame_->Log();
    log.Append("Reading info...", 2);
    log.Append("Connection Failure", 0);
    log.Append("", 1);  // an entry with an icon and no text
    ASSERT_EQ(ListView_GetItemCount(List()), 3);
    EXPECT_EQ(ItemText(0), "Reading info...");
    EXPECT_EQ(ItemImage(0), 2);
    EXPECT_EQ(ItemText(1), "Connection Failure");
    EXPECT_EQ(ItemImage(1), 0);
    EXPECT_EQ(ItemText(2), "");
    EXPECT_EQ(ItemImage(2), 1);
    log.Clear();
    log.Clear();  // on an empty log: nothing
    EXPECT_EQ(ListView_GetItemCount(List()), 0);
    log.Append("DONE Succesfully!", 1);
    EXPECT_EQ(ItemText(0), "DONE Succesfully!");
}

TEST_F(FrameTest, AfterManyEntriesTheNewestIsInViewAndASecondSetUpAddsNoColumn) {
    LogView& log = frame_->Log();
    for (int i = 0; i < 200; ++i) log.Append("entry " + std::to_string(i), i % 3);
    const int top = ListView_GetTopIndex(List());
    const int perPage = ListView_GetCountPerPage(List());
    EXPECT_GT(top, 0);
    EXPECT_GE(top + perPage, 200);
    log.Attach(List(), GetModuleHandleW(nullptr));
    LVCOLUMNW second{};
    second.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageW(List(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&second)));
}

}  // namespace
}  // namespace vk930

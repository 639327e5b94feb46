// Menu 128 with its check marks and accelerator table 128, as the window builds them.
#include "win32window/menus.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/forms/form_ids.h"
#include "win32window/wide_text.h"

namespace vk930 {
namespace {

std::string ItemText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return Narrow(text);
}

bool Checked(HMENU menu, int command) {
    return (GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

struct ExpectedItem {
    int id;  // 0: separator
    const char* text;
};

void ExpectItems(HMENU popup, const std::vector<ExpectedItem>& items) {
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i].text);
        const auto position = static_cast<UINT>(i);
        if (items[i].id == 0) {
            EXPECT_NE(GetMenuState(popup, position, MF_BYPOSITION) & MF_SEPARATOR, 0u);
            continue;
        }
        EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), static_cast<UINT>(items[i].id));
        EXPECT_EQ(ItemText(popup, position), items[i].text);
    }
}

TEST(MainMenu, HasTheFileAndComPortPopupsWithTheirCommands) {
    HMENU menu = BuildMainMenu();
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(ItemText(menu, 0), "&File");
    EXPECT_EQ(ItemText(menu, 1), "COM port");
    EXPECT_EQ(ItemText(menu, 2), "Tools");
    ExpectItems(GetSubMenu(menu, 0), {{57601, "&Open Configuration File..."},
                                      {32771, "FirmWare update..."},
                                      {0, ""},
                                      {57664, "&About VK930Config..."},
                                      {57665, "E&xit"}});
    ExpectItems(GetSubMenu(menu, 1), {{32773, "COM1"},
                                      {32774, "COM2"},
                                      {32775, "COM3"},
                                      {32776, "COM4"},
                                      {32777, "COM5"},
                                      {32778, "COM6"},
                                      {32779, "COM7"},
                                      {32780, "COM8"},
                                      {0, ""},
                                      {id::kCmdDevices, "Devices..."}});
    DestroyMenu(menu);
}

TEST(MainMenu, TheCheckMarkIsOnTheCurrentPortOnly) {
    HMENU menu = BuildMainMenu();
    CheckComPort(menu, 5);
    for (int port = 1; port <= 8; ++port)
        EXPECT_EQ(Checked(menu, id::kCmdComPort1 + port - 1), port == 5) << "COM" << port;
    CheckComPort(menu, 2);
    EXPECT_TRUE(Checked(menu, id::kCmdComPort1 + 1));
    EXPECT_FALSE(Checked(menu, id::kCmdComPort1 + 4));
    // Port 0 (the settings key could not be opened): no item carries the mark.
    CheckComPort(menu, 0);
    for (int port = 1; port <= 8; ++port) EXPECT_FALSE(Checked(menu, id::kCmdComPort1 + port - 1));
    EXPECT_FALSE(Checked(menu, id::kCmdDevices));
    DestroyMenu(menu);
}

TEST(Accelerators, TheTableHasEveryKeyOfTheOriginal) {
    HACCEL table = BuildAccelerators();
    std::vector<ACCEL> got(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, got.data(), static_cast<int>(got.size()));
    DestroyAcceleratorTable(table);
    const BYTE ctrl = FVIRTKEY | FCONTROL, shift = FVIRTKEY | FSHIFT, alt = FVIRTKEY | FALT;
    const std::vector<ACCEL> want = {
        {ctrl, 'N', 57600},        {ctrl, 'O', 57601},        {ctrl, 'S', 57603},
        {ctrl, 'Z', 57643},        {alt, VK_BACK, 57643},     {ctrl, 'X', 57635},
        {shift, VK_DELETE, 57635}, {ctrl, 'C', 57634},        {ctrl, VK_INSERT, 57634},
        {ctrl, 'V', 57637},        {shift, VK_INSERT, 57637}, {FVIRTKEY, VK_F6, 57680},
        {shift, VK_F6, 57681},
    };
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(i);
        // Windows may keep a flag of its own in the top bit of fVirt.
        EXPECT_EQ(got[i].fVirt & 0x7F, want[i].fVirt);
        EXPECT_EQ(got[i].key, want[i].key);
        EXPECT_EQ(got[i].cmd, want[i].cmd);
    }
}

TEST(Accelerators, UnknownKeysAreLeftOutNotGuessed) {
    EXPECT_FALSE(ToWin32Accelerator({"Hyper+N", 1}).has_value());
    EXPECT_FALSE(ToWin32Accelerator({"Ctrl+F13", 1}).has_value());
    const std::optional<ACCEL> f6 = ToWin32Accelerator({"F6", 7});
    ASSERT_TRUE(f6.has_value());
    EXPECT_EQ(f6->fVirt, FVIRTKEY);
    EXPECT_EQ(f6->key, VK_F6);
    EXPECT_EQ(f6->cmd, 7);
}

}  // namespace
}  // namespace vk930

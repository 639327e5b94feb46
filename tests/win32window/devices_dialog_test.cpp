// The Win32 window's Devices dialog from the "COM port" menu: the core's choices per COM port
// shown in its template, the selection written as DeviceN, Cancel writing nothing.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "core/forms/dialog_ids.h"
#include "core/link/com_port_names.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

struct Seen {
    std::vector<std::string> entries;  // COM2's list
    int selected = -1;                 // COM2's selection
    std::string note;                  // the --link note, empty when none
    int lists = 0;                     // drop-down lists in the dialog
};

HWND Choice(HWND dialog, int port) {
    return GetDlgItem(dialog, id::kDeviceChoice1 + port - 1);
}

void Select(HWND dialog, int port, const wchar_t* label) {
    SendMessageW(Choice(dialog, port), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(label));
}

Seen Look(HWND dialog) {
    Seen seen;
    HWND list = Choice(dialog, 2);
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        seen.entries.push_back(Narrow(text));
    }
    seen.selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (test::ClassName(child) == "ComboBox") ++seen.lists;
        const std::string text = test::WindowText(child);
        if (text.rfind("--link ", 0) == 0) seen.note = text;
    }
    return seen;
}

std::string TextValue(const test::RegistryTestKey& key, const std::string& name) {
    const auto raw = key.Read(name);
    return raw ? std::string(raw->bytes.c_str()) : std::string("(missing)");
}

TEST_F(Win32AppTest, DevicesWritesTheChoicesAsDeviceNAndCancelWritesNothing) {
    settings_.Put("Device2", REG_SZ, std::string("none", 5));
    linkFromSettings_ = true;
    Start();
    Seen seen;
    {
        test::DialogAnswerer answerer("Devices", [&](HWND dialog) {
            seen = Look(dialog);
            Select(dialog, 2, L"Simulated terminal");
            Select(dialog, 5, L"Nothing");
            test::PressButton(dialog, IDOK);
        });
        SendMessageW(app_->Frame().Window(), WM_COMMAND, MAKEWPARAM(id::kCmdDevices, 0), 0);
        ASSERT_TRUE(answerer.Found());
    }
    EXPECT_EQ(seen.lists, kPortCount);
    ASSERT_GE(seen.entries.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(seen.entries.end() - 2, seen.entries.end()),
              (std::vector<std::string>{"Simulated terminal", "Nothing"}));
    EXPECT_EQ(seen.entries[static_cast<std::size_t>(seen.selected)], "Nothing");
    EXPECT_TRUE(seen.note.empty()) << "no note without --link";
    const std::string device2 = TextValue(settings_, "Device2");
    EXPECT_EQ(device2.rfind("sim:", 0), 0u) << device2;
    EXPECT_NE(device2.find("\\VK930Config\\terminal.bin"), std::string::npos) << device2;
    EXPECT_EQ(TextValue(settings_, "Device5"), "none");
    EXPECT_FALSE(settings_.Read("Device1")) << "an unchanged port is not written";

    test::DialogAnswerer cancel("Devices", [](HWND dialog) {
        Select(dialog, 1, L"Nothing");
        test::PressButton(dialog, IDCANCEL);
    });
    SendMessageW(app_->Frame().Window(), WM_COMMAND, MAKEWPARAM(id::kCmdDevices, 0), 0);
    ASSERT_TRUE(cancel.Found());
    EXPECT_FALSE(settings_.Read("Device1"));
}

TEST_F(Win32AppTest, DevicesUnderLinkSaysTheChoicesCountFromTheNextStart) {
    Start("sim");
    std::string note;
    test::DialogAnswerer answerer("Devices", [&](HWND dialog) {
        note = Look(dialog).note;
        test::PressButton(dialog, IDCANCEL);
    });
    SendMessageW(app_->Frame().Window(), WM_COMMAND, MAKEWPARAM(id::kCmdDevices, 0), 0);
    ASSERT_TRUE(answerer.Found());
    EXPECT_EQ(note,
              "--link sim reaches every port until the program ends; these choices count from "
              "the next start.");
}

}  // namespace
}  // namespace vk930

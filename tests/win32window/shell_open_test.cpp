// A second start's file handed to the running window: the channel per settings place, the
// hand-over from another thread as from another program, and requests that are refused.
#include "win32window/shell_open.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "core/app/single_instance.h"
#include "win32window/wide_text.h"
#include "window_test_support.h"

namespace vk930 {
namespace {

// A channel of this test process alone, so that parallel tests never meet.
std::string TestChannel(const std::string& what) {
    return InstanceName("shell-open-test-" + std::to_string(GetCurrentProcessId()) + "-" + what);
}

// Hands the file over from another thread while this one serves its messages, as the
// running window's message loop does for a second program.
bool HandOverServed(const std::string& channel, const std::string& file) {
    std::future<bool> handed =
        std::async(std::launch::async, [&] { return HandToRunningWindow(channel, file); });
    EXPECT_TRUE(test::PumpUntil(
        [&] { return handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return handed.get();
}

TEST(ShellOpenTest, TheSettingsPlaceNamesTheRootAndTheKeyWithoutCase) {
    EXPECT_EQ(SettingsPlace(HKEY_LOCAL_MACHINE, "Software\\VK930Config"),
              "hkey_local_machine\\software\\vk930config");
    EXPECT_EQ(SettingsPlace(HKEY_LOCAL_MACHINE, "SOFTWARE\\vk930config"),
              SettingsPlace(HKEY_LOCAL_MACHINE, "Software\\VK930Config"));
    EXPECT_NE(SettingsPlace(HKEY_CURRENT_USER, "Software\\VK930Config"),
              SettingsPlace(HKEY_LOCAL_MACHINE, "Software\\VK930Config"));
}

TEST(ShellOpenTest, ASecondStartsFileReachesTheWindowOnTheSameSettingsOnly) {
    std::vector<std::string> opened;
    ShellOpenReceiver receiver([&](const std::string& path) { opened.push_back(path); });
    ASSERT_TRUE(receiver.Listen(TestChannel("a")));

    EXPECT_TRUE(HandOverServed(TestChannel("a"), "C:\\data\\unit 7.pcg"));
    ASSERT_TRUE(test::PumpUntil([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<std::string>{"C:\\data\\unit 7.pcg"});

    // Another settings place has no window: that start opens its own.
    EXPECT_FALSE(HandToRunningWindow(TestChannel("b"), "C:\\data\\b.pcg"));
    test::PumpMessages();
    EXPECT_EQ(opened.size(), 1u);
}

TEST(ShellOpenTest, ASecondWindowNeverTakesOverTheFirstOnesChannel) {
    std::vector<std::string> first, second;
    ShellOpenReceiver one([&](const std::string& path) { first.push_back(path); });
    ShellOpenReceiver two([&](const std::string& path) { second.push_back(path); });
    ASSERT_TRUE(one.Listen(TestChannel("c")));
    EXPECT_FALSE(two.Listen(TestChannel("c")));
    EXPECT_FALSE(two.Listening());
    EXPECT_TRUE(HandOverServed(TestChannel("c"), "C:\\x.pcg"));
    ASSERT_TRUE(test::PumpUntil([&] { return !first.empty(); }));
    EXPECT_TRUE(second.empty());
}

TEST(ShellOpenTest, AChannelWhoseWindowHasGoneTakesNothingAndCanBeServedAgain) {
    std::vector<std::string> opened;
    {
        ShellOpenReceiver gone([&](const std::string& path) { opened.push_back(path); });
        ASSERT_TRUE(gone.Listen(TestChannel("d")));
    }
    EXPECT_FALSE(HandToRunningWindow(TestChannel("d"), "C:\\x.pcg"));
    ShellOpenReceiver next([&](const std::string& path) { opened.push_back(path); });
    EXPECT_TRUE(next.Listen(TestChannel("d")));
    test::PumpMessages();
    EXPECT_TRUE(opened.empty());
}

TEST(ShellOpenTest, DataThatIsNotAWholePathIsRefused) {
    std::vector<std::string> opened;
    ShellOpenReceiver receiver([&](const std::string& path) { opened.push_back(path); });
    ASSERT_TRUE(receiver.Listen(TestChannel("e")));
    HWND window = FindWindowExW(HWND_MESSAGE, nullptr, L"VK930ConfigShellOpen",
                                Widen(TestChannel("e")).c_str());
    ASSERT_NE(window, nullptr);
    const auto send = [&](ULONG_PTR kind, const void* bytes, DWORD size) {
        COPYDATASTRUCT data{kind, size, const_cast<void*>(bytes)};
        return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    };
    const wchar_t withNul[] = L"C:\\a.pcg\0C:\\b.pcg";
    const wchar_t path[] = L"C:\\a.pcg";
    EXPECT_EQ(send(1, path, sizeof path - sizeof(wchar_t)), FALSE);  // another kind of request
    EXPECT_EQ(send(0x564B3930, withNul, sizeof withNul - sizeof(wchar_t)), FALSE);
    EXPECT_EQ(send(0x564B3930, path, 3), FALSE);  // half a character
    EXPECT_EQ(send(0x564B3930, path, 0), FALSE);
    EXPECT_EQ(send(0x564B3930, nullptr, 8), FALSE);
    test::PumpMessages();
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace vk930

#pragma once
// The Win32 window's application in process, as its tests start it: settings and recent files
// in registry keys of the test's own, the file dialogs and the editor answered in code, the
// buttons clicked as the user does and the log read back from the list view.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>
// The host contract's own names, not the Win32 macros that would rename them.
#undef MessageBox
#undef SetCurrentDirectory

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "platform/win32/registry_test_key.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "support/window_logs.h"
#include "win32window/wide_text.h"
#include "win32window/win32_app.h"
#include "window_test_support.h"

namespace vk930 {

using Entry = test::LogEntry;  // text and icon kind

class Win32AppTest : public ::testing::Test {
  protected:
    void SetUp() override { test::InitCommonControlsOnce(); }
    void TearDown() override {
        app_.reset();
        test::PumpMessages();
    }

    void Start(std::optional<std::string> link = std::nullopt, std::string file = {}) {
        Win32AppOptions options;
        options.link =
            link ? std::move(link) : std::optional<std::string>("sim:" + dir_.File("t.bin"));
        if (linkFromSettings_) options.link.reset();  // DeviceN decides
        options.file = std::move(file);
        options.settingsRoot = settings_.Root();
        options.settingsSubkey = settings_.Subkey();
        options.recentRoot = recent_.Root();
        options.recentProfile = recent_.Subkey();
        options.stateFolder = dir_.File("state");
        options.files = [this](const FileDialogRequest& request, HWND) {
            requests_.push_back(request);
            return fileAnswer_;
        };
        options.editor = [this](const std::string& path) { edited_.push_back(path); };
        if (countSleeps_)
            options.sleep = [this](int milliseconds) { sleeps_.push_back(milliseconds); };
        if (sleeper_) options.sleep = sleeper_;
        app_ = std::make_unique<Win32App>(GetModuleHandleW(nullptr), std::move(options));
        ASSERT_TRUE(app_->Start()) << app_->StartError();
    }
    HWND Item(int id) const { return GetDlgItem(app_->Frame().Form(), id); }
    std::string TextOf(int id) const { return test::WindowText(Item(id)); }
    // A button clicked as the user does; the job it starts runs to its end.
    void Click(int id) {
        ClickOnly(id);
        app_->WaitForJob();
    }
    void ClickOnly(int id) {
        SendMessageW(app_->Frame().Form(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(id)));
    }
    // "FirmWare update..." from the menu, `firmware` chosen in its dialog and "Start
    // uploading" pressed; returns once the dialog has been answered.
    void StartFirmwareUpload(const std::string& firmware) {
        fileAnswer_ = {true, firmware};
        test::DialogAnswerer answerer("VK930 Firmware upload", [](HWND dialog) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kOpenFwFileButton, BN_CLICKED), 0);
            test::PressButton(dialog, id::kOk);
        });
        SendMessageW(app_->Frame().Window(), WM_COMMAND, MAKEWPARAM(id::kCmdFirmwareUpdate, 0), 0);
        // The dialog runs while the job waits for its answer.
        ASSERT_TRUE(test::PumpUntil([&] { return answerer.Found(); }));
    }
    // Serves the window until the upload's job has ended; `sawProgress` (may be null) learns
    // whether control 1024 showed the upload's progress meanwhile.
    void WaitForUploadToEnd(bool* sawProgress = nullptr) {
        ASSERT_TRUE(test::PumpUntil([&] {
            if (sawProgress && TextOf(id::kLinkControl).find("Firmware: ") != std::string::npos)
                *sawProgress = true;
            return !app_->CommandRunning();
        }));
        app_->WaitForJob();
    }
    std::vector<Entry> Log() const {
        HWND list = Item(id::kLog);
        std::vector<Entry> entries;
        const int count = ListView_GetItemCount(list);
        for (int row = 0; row < count; ++row) {
            wchar_t text[256] = {};
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.pszText = text;
            item.cchTextMax = 256;
            SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            entries.push_back({Narrow(text), item.iImage});
        }
        return entries;
    }

    test::TempDir dir_;
    test::RegistryTestKey settings_{HKEY_CURRENT_USER};
    test::RegistryTestKey recent_{HKEY_CURRENT_USER};
    std::unique_ptr<Win32App> app_;
    std::vector<FileDialogRequest> requests_;
    FileDialogAnswer fileAnswer_;
    std::vector<std::string> edited_;
    bool linkFromSettings_ = false;
    bool countSleeps_ = false;  // the job thread's waits only counted, not waited
    std::vector<int> sleeps_;   // written on the job thread, read after it has ended
    Win32Sleeper sleeper_;      // set: the host's and the stations' waits
};

}  // namespace vk930

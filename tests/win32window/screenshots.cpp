// win32_screenshots.exe: saves pictures of the Win32 window and its dialogs as BMP files, for
// scripts/windows_screenshots.sh to turn into the documentation's PNGs:
//   win32_screenshots FOLDER [PORT FIRMWARE]
// Drawn by Wine's X11 driver on a virtual display and read back from the screen. The window
// runs on the in-process terminal with settings of its own that allow editing the CommID, and
// "&Read Device Info" has been pressed; the About box and the dialogs 131 and 138 are drawn
// over it and cancelled. Then a parameter file is compared with the terminal and set, and the
// Tools menu's "Compare with terminal", "Backups" and "Service history" are drawn with their
// lists filled (the records and backups in a state folder under FOLDER). Given a COM port (a paced
// vk930-sim behind it) and a firmware file, a second window uploads it there and is drawn when a
// third of the image has been sent.
// The "Number a series" dialog is drawn on stations COM1 and COM2 of in-process terminals that
// come and go, when each station's first terminal is numbered and to be removed.
#include <windows.h>
// The common controls need the definitions of windows.h first.
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/forms/dialog_ids.h"
#include "core/forms/form_ids.h"
#include "core/forms/tool_ids.h"
#include "platform/win32/registry_test_key.h"
#include "win32window/wide_text.h"
#include "win32window/win32_app.h"
#include "window_test_support.h"

using namespace vk930;

namespace {

constexpr DWORD kSettleMs = 400;

void Settle() {
    const DWORD until = GetTickCount() + kSettleMs;
    test::PumpUntil([&] { return GetTickCount() >= until; });
}

// The window as the screen shows it, as a 24-bit BMP.
bool SaveWindow(HWND window, const std::string& file) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files keep it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<std::size_t>(stride) * height, '\0');
    const int lines = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    const bool saved = lines == height && out.good();
    std::printf("%s %s\n", saved ? "saved" : "FAILED", file.c_str());
    return saved;
}

struct Program {
    test::RegistryTestKey settings{HKEY_CURRENT_USER};
    test::RegistryTestKey recent{HKEY_CURRENT_USER};
    std::unique_ptr<Win32App> app;

    // `stateFolder`: the records', backups' and journal of IDs' folder; empty: the user's.
    bool Start(const std::string& link, const std::string& firmware, Win32Sleeper sleep = {},
               std::string stateFolder = {}) {
        settings.Put("AllowEditSno", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
        Win32AppOptions options;
        options.link = link;
        options.settingsRoot = settings.Root();
        options.settingsSubkey = settings.Subkey();
        options.recentRoot = recent.Root();
        options.recentProfile = recent.Subkey();
        options.files = [firmware](const FileDialogRequest&, HWND) {
            return FileDialogAnswer{true, firmware};
        };
        options.sleep = std::move(sleep);
        options.stateFolder = std::move(stateFolder);
        app = std::make_unique<Win32App>(GetModuleHandleW(nullptr), std::move(options));
        if (!app->Start()) return false;
        app->Show(SW_SHOW);
        Settle();
        return true;
    }
    void Command(int id) { SendMessageW(app->Frame().Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // A dialog drawn and then ended with `end` while `command` runs it.
    bool SaveDialog(int command, const char* caption, int end, const std::string& file,
                    const std::function<void(HWND)>& fill = {}) {
        bool saved = false;
        {
            test::DialogAnswerer answerer(caption, [&](HWND dialog) {
                if (fill) fill(dialog);
                Sleep(kSettleMs);
                saved = SaveWindow(dialog, file);
                test::PressButton(dialog, end);
            });
            Command(command);
            test::PumpUntil([&] { return answerer.Found() && !app->CommandRunning(); });
        }
        app->WaitForJob();
        Settle();
        return saved;
    }
};

// On the answering thread: waits up to ten seconds for a dialog's label to hold `part`.
void WaitForLabel(HWND dialog, int id, const std::string& part) {
    const DWORD until = GetTickCount() + 10000;
    while (test::WindowText(GetDlgItem(dialog, id)).find(part) == std::string::npos &&
           GetTickCount() < until)
        Sleep(20);
}

void ChooseFirstRow(HWND dialog, int list) {
    ListView_SetItemState(GetDlgItem(dialog, list), 0, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
}

// The Tools dialogs over the document of the Linux pictures, which changes a few keys: Compare
// before its Set, the backups and the history after it.
bool SaveTools(Program& program, const std::string& folder) {
    const std::string file = folder + "shop-3.pcg";
    std::ofstream(file, std::ios::binary)
        << "HEADING:Shop 3\r\nSYSTEM:0,201,7\r\nSYSTEM:1,20,250\r\nNOSUCHKEY:1\r\nEND\r\n";
    if (!program.app->OpenDocumentFile(file)) return false;
    bool ok = program.SaveDialog(id::kCmdCompare, "Compare with terminal", IDCANCEL,
                                 folder + "compare.bmp", [](HWND dialog) {
                                     test::PressButton(dialog, id::kCompareRun);
                                     WaitForLabel(dialog, id::kCompareCounts, " to change");
                                 });
    // A Set leaves a backup and a record behind, Read Device Info another record.
    for (int button : {id::kSetButton, id::kReadDeviceInfoButton}) {
        SendMessageW(program.app->Frame().Form(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        program.app->WaitForJob();
    }
    Settle();
    ok = program.SaveDialog(id::kCmdBackups, "Backups", IDCANCEL, folder + "backups.bmp",
                            [](HWND dialog) { ChooseFirstRow(dialog, id::kBackupsList); }) &&
         ok;
    ok = program.SaveDialog(id::kCmdServiceHistory, "Service history", IDCANCEL,
                            folder + "service_history.bmp",
                            [](HWND dialog) {
                                ChooseFirstRow(dialog, id::kHistoryList);
                                WaitForLabel(dialog, id::kHistoryDetails, "File:");
                            }) &&
         ok;
    return ok;
}

std::string LinkPlaceText(Win32App& app) {
    return test::WindowText(GetDlgItem(app.Frame().Form(), id::kLinkControl));
}

// The upload's progress ("Firmware: 6000/18000 bytes, ...") past a third.
bool PastAThird(const std::string& text) {
    unsigned long sent = 0, total = 0;
    const std::size_t at = text.find("Firmware: ");
    return at != std::string::npos &&
           std::sscanf(text.c_str() + at, "Firmware: %lu/%lu", &sent, &total) == 2 && total > 0 &&
           sent * 3 >= total;
}

bool SaveDuringUpload(const std::string& port, const std::string& firmware,
                      const std::string& file) {
    Program upload;
    if (!upload.Start(port, firmware)) return false;
    test::DialogAnswerer answerer("VK930 Firmware upload", [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id::kOpenFwFileButton, BN_CLICKED), 0);
        test::PressButton(dialog, id::kOk);
    });
    upload.Command(id::kCmdFirmwareUpdate);
    bool saved = false;
    const DWORD until = GetTickCount() + 120000;
    test::PumpUntil([&] {
        if (!saved && PastAThird(LinkPlaceText(*upload.app)))
            saved = SaveWindow(upload.app->Frame().Window(), file);
        return (answerer.Found() && !upload.app->CommandRunning()) || GetTickCount() > until;
    });
    upload.app->WaitForJob();
    if (!saved) std::printf("FAILED %s (no progress seen)\n", file.c_str());
    return saved;
}

// The rows of the series' table that say "done: remove it".
int RowsToRemove(HWND dialog) {
    int rows = 0;
    for (int row = 0;; ++row) {
        const std::vector<std::string> texts = test::ListRow(dialog, id::kSeriesTable, row);
        if (texts.empty()) return rows;
        rows += texts.size() > 1 && texts[1] == "done: remove it";
    }
}

bool SaveSeries(const std::string& file) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string parameters = Narrow(temp) + "bench-series.pcg";
    std::ofstream(parameters, std::ios::binary) << "HEADING:BENCH SERIES\r\nEND\r\n";
    Program series;
    // The terminals leave 2 s after their restart; the stations' own waits are cut short. A
    // journal of IDs of this run's own: one left by an earlier run would be ahead of the fresh
    // settings' counter, which the window would stop to say.
    if (!series.Start(
            "sim?series=2&remove=2000&plugin=300", "",
            [](int ms) { Sleep(static_cast<DWORD>(ms < 20 ? ms : 20)); },
            Narrow(temp) + "vk930-screenshots-" + std::to_string(GetCurrentProcessId())))
        return false;
    bool saved = false;
    {
        test::DialogAnswerer answerer("Number a series", [&](HWND dialog) {
            SetDlgItemTextW(dialog, id::kSeriesCount, L"2");
            SetDlgItemTextW(dialog, id::kSeriesFile, Widen(parameters).c_str());
            SendDlgItemMessageW(dialog, id::kSeriesPort1 + 1, BM_SETCHECK, BST_CHECKED, 0);
            test::PressButton(dialog, id::kSeriesStart);
            if (test::WaitFor([&] { return RowsToRemove(dialog) == 2; })) {
                Sleep(kSettleMs / 4);
                saved = SaveWindow(dialog, file);
            }
            for (int waited = 0; waited < 6; ++waited)
                if (test::WaitFor([&] {
                        return IsWindowEnabled(GetDlgItem(dialog, id::kSeriesStart)) != FALSE;
                    }))
                    break;
            test::PressButton(dialog, id::kSeriesClose);
        });
        series.Command(id::kCmdNumberSeries);
    }
    series.app->WaitForJob();
    if (!saved) std::printf("FAILED %s (no rows to remove seen)\n", file.c_str());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: win32_screenshots FOLDER [PORT FIRMWARE]\n");
        return 2;
    }
    test::InitCommonControlsOnce();
    const std::string folder = std::string(argv[1]) + "\\";
    Program program;
    if (!program.Start("sim", argc == 4 ? argv[3] : "", {}, folder + "state")) return 1;
    SendMessageW(program.app->Frame().Form(), WM_COMMAND,
                 MAKEWPARAM(id::kReadDeviceInfoButton, BN_CLICKED), 0);
    program.app->WaitForJob();
    Settle();
    bool ok = SaveWindow(program.app->Frame().Window(), folder + "main_form.bmp");
    ok = program.SaveDialog(id::kCmdAbout, "About VK930Config", IDOK, folder + "about.bmp") && ok;
    ok = program.SaveDialog(id::kGetButton, "Get Parameters from VK930 device", IDCANCEL,
                            folder + "get_parameters.bmp") &&
         ok;
    ok = program.SaveDialog(id::kCmdFirmwareUpdate, "VK930 Firmware upload", IDCANCEL,
                            folder + "firmware_upload.bmp") &&
         ok;
    ok = SaveTools(program, folder) && ok;
    ok = SaveSeries(folder + "number_series.bmp") && ok;
    if (argc == 4) ok = SaveDuringUpload(argv[2], argv[3], folder + "uploading.bmp") && ok;
    return ok ? 0 : 1;
}

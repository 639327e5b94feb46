// The host contract rendered on the Win32 frame.
#include "win32window/win32_host.h"

#include <vector>

#include "core/forms/form_ids.h"
#include "platform/win32/notepad.h"
#include "win32window/template_dialog.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

// Plain system beep, as MessageBeep(-1) gives it.
constexpr UINT kPlainBeep = 0xFFFFFFFF;

void StartNotepadQuietly(const std::string& path) {
    // "Edit with Notepad" reports nothing when Notepad cannot be started.
    (void)StartNotepad(path);
}

}  // namespace

Win32Host::Win32Host(MainFrame& frame, FileDialogRunner files, EditorStarter editor,
                     Win32Sleeper sleep)
    : frame_(frame),
      files_(std::move(files)),
      editor_(editor ? std::move(editor) : EditorStarter(StartNotepadQuietly)),
      sleep_(sleep ? std::move(sleep) : Win32Sleeper([](int milliseconds) {
          if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
      })) {}

void Win32Host::AppendLog(std::string text, int kind) {
    gui_.Run([&] { frame_.Log().Append(text, kind); });
}

void Win32Host::ClearLog() {
    gui_.Run([&] { frame_.Log().Clear(); });
}

void Win32Host::Beep() {
    gui_.Run([] { MessageBeep(kPlainBeep); });
}

void Win32Host::MessageBox(const std::string& text, const std::string& caption) {
    gui_.Run([&] {
        ::MessageBoxW(frame_.Window(), Widen(text).c_str(), Widen(caption).c_str(), MB_OK);
    });
}

void Win32Host::Sleep(int milliseconds) {
    sleep_(milliseconds);  // on the calling thread: the window goes on painting
}

void Win32Host::SetControlText(int id, const std::string& text) {
    gui_.Run([&] {
        settingText_ = true;
        SetDlgItemTextW(frame_.Form(), id, Widen(text).c_str());
        settingText_ = false;
    });
}

void Win32Host::SetControlVisible(int id, bool visible) {
    gui_.Run([&] { ShowWindow(GetDlgItem(frame_.Form(), id), visible ? SW_SHOWNORMAL : SW_HIDE); });
}

void Win32Host::SetControlReadOnly(int id, bool readOnly) {
    gui_.Run([&] {
        SendDlgItemMessageW(frame_.Form(), id, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
    });
}

void Win32Host::StartFormTimer(int milliseconds) {
    gui_.Run([&] {
        formTimerPending_ = true;
        SetTimer(frame_.Form(), id::kFormTimer, static_cast<UINT>(milliseconds), nullptr);
    });
}

void Win32Host::StopFormTimer() {
    gui_.Run([&] {
        formTimerPending_ = false;
        KillTimer(frame_.Form(), id::kFormTimer);
    });
}

void Win32Host::OnFormTimerExpired() {
    // A Windows timer repeats; the form timer goes off once per start.
    formTimerPending_ = false;
    KillTimer(frame_.Form(), id::kFormTimer);
}

GetParamsDialogAnswer Win32Host::RunGetParamsDialog(int portIndex, const std::string& path) {
    return gui_.Run([&] {
        GetParamsDialog dialog(portIndex, path, files_);
        return dialog.Run(frame_.Window(), frame_.Module());
    });
}

FirmwareDialogAnswer Win32Host::RunFirmwareDialog() {
    return gui_.Run([&] {
        FirmwareDialog dialog(files_);
        return dialog.Run(frame_.Window(), frame_.Module());
    });
}

FileDialogAnswer Win32Host::RunFileDialog(const FileDialogRequest& request) {
    return gui_.Run([&] { return files_(request, frame_.Window()); });
}

std::optional<std::string> Win32Host::CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) return std::nullopt;
    folder.resize(length);
    return Narrow(folder);
}

bool Win32Host::SetCurrentDirectory(const std::string& path) {
    return ::SetCurrentDirectoryW(Widen(path).c_str()) != FALSE;
}

void Win32Host::StartEditor(const std::string& path) {
    gui_.Run([&] { editor_(path); });
}

void Win32Host::SetDocumentTitle(const std::string& title) {
    gui_.Run([&] { frame_.SetDocumentTitle(title); });
}

void Win32Host::Progress(const ProgressReport& report) {
    gui_.Run([&] { frame_.Link().ShowProgress(report); });
}

}  // namespace vk930

#pragma once
// The host contract on Windows: a command's log entries, boxes, beeps, waits, dialogs and
// form updates rendered on the main frame; it decides nothing. A command runs on the job
// thread: every call but Sleep and the working directory's is carried to the GUI thread,
// where the frame's windows, the form timer and the modal dialogs live, and the command waits
// for it there, so the order of log entries, link calls and waits is the command's own.
#include <windows.h>
// The contract's own names, not the Win32 macros that would rename them in this file only.
#undef MessageBox
#undef SetCurrentDirectory

#include "core/commands/host.h"
#include "win32window/file_dialog.h"
#include "win32window/gui_thread.h"
#include "win32window/main_frame.h"

namespace vk930 {

// Starts the editor on a path; the default starts Notepad (platform/win32/notepad.h).
using EditorStarter = std::function<void(const std::string& path)>;
// Blocks the calling thread for a number of milliseconds; tests give one that only counts.
using Win32Sleeper = std::function<void(int milliseconds)>;

class Win32Host : public Host {
  public:
    // Made on the GUI thread.
    explicit Win32Host(MainFrame& frame, FileDialogRunner files = RunWin32FileDialog,
                       EditorStarter editor = {}, Win32Sleeper sleep = {});

    // The form timer expired: like every expiry, it stops the timer.
    void OnFormTimerExpired();
    bool FormTimerPending() const { return formTimerPending_; }
    GuiThread& Gui() { return gui_; }
    // True while SetControlText changes a control: its change notice is the program's, not
    // the user's typing.
    bool SettingText() const { return settingText_; }

    void AppendLog(std::string text, int kind) override;
    void ClearLog() override;
    void Beep() override;
    void MessageBox(const std::string& text, const std::string& caption) override;
    void Sleep(int milliseconds) override;
    void SetControlText(int id, const std::string& text) override;
    void SetControlVisible(int id, bool visible) override;
    void SetControlReadOnly(int id, bool readOnly) override;
    void StartFormTimer(int milliseconds) override;
    void StopFormTimer() override;
    GetParamsDialogAnswer RunGetParamsDialog(int portIndex, const std::string& path) override;
    FirmwareDialogAnswer RunFirmwareDialog() override;
    FileDialogAnswer RunFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> CurrentDirectory() override;
    bool SetCurrentDirectory(const std::string& path) override;
    void StartEditor(const std::string& path) override;
    void SetDocumentTitle(const std::string& title) override;
    void Progress(const ProgressReport& report) override;

  private:
    MainFrame& frame_;
    FileDialogRunner files_;
    EditorStarter editor_;
    Win32Sleeper sleep_;
    GuiThread gui_;
    bool formTimerPending_ = false;  // GUI thread only
    bool settingText_ = false;       // GUI thread only
};

}  // namespace vk930

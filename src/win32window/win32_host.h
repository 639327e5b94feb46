#pragma once
// The host contract on Windows: a command's log entries, boxes, beeps, waits, dialogs and
// form updates rendered on the main frame. Every call is a window message to the frame's
// windows or a modal dialog owned by it; it decides nothing. The control and log calls are
// sent messages, which Windows carries to the frame's thread from any other; the dialogs and
// boxes are made on the calling thread, so a command run off the GUI thread must have them
// asked for on the GUI thread.
#include <windows.h>
// The contract's own names, not the Win32 macros that would rename them in this file only.
#undef MessageBox
#undef SetCurrentDirectory

#include "core/commands/host.h"
#include "win32window/file_dialog.h"
#include "win32window/main_frame.h"

namespace vk930 {

// Starts the editor on a path; the default starts Notepad (platform/win32/notepad.h).
using EditorStarter = std::function<void(const std::string& path)>;

class Win32Host : public Host {
  public:
    explicit Win32Host(MainFrame& frame, FileDialogRunner files = RunWin32FileDialog,
                       EditorStarter editor = {});

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

  private:
    MainFrame& frame_;
    FileDialogRunner files_;
    EditorStarter editor_;
};

}  // namespace vk930

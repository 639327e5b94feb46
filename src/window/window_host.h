#pragma once
// The host contract on the Qt window: the operation log and the controls of the main form,
// the form timer, message boxes, beeps, the modal dialogs, the working directory, the editor,
// the caption and the progress in the link control's place. A command runs on the command
// thread (see CommandRunner): every call but Sleep is carried out on the GUI thread while
// the command waits for it; Sleep blocks the command thread only.
#include <QTimer>
#include <functional>

#include "core/commands/host.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

class CMainFrame;
class MainFormWidget;

// Blocks for a number of milliseconds (on the command's thread: the window goes on painting);
// tests pass one that only counts.
using Sleeper = std::function<void(int milliseconds)>;
void BlockingSleep(int milliseconds);

class WindowHost : public Host {
  public:
    WindowHost(CMainFrame& frame, MainFormWidget& form, SettingsBackendFactory& settings,
               Sleeper sleep);

    // What the form timer runs when it expires.
    void OnFormTimer(std::function<void()> handler);
    bool FormTimerPending() const { return formTimer_.isActive(); }

    void AppendLog(std::string text, int kind) override;
    void ClearLog() override;
    void Beep() override;
    void MessageBox(const std::string& text, const std::string& caption) override;
    void Sleep(int milliseconds) override { sleep_(milliseconds); }
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
    CMainFrame& frame_;
    MainFormWidget& form_;
    SettingsBackendFactory& settings_;
    Sleeper sleep_;
    QTimer formTimer_;
};

}  // namespace vk930

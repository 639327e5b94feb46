#pragma once
// A series station's host inside a window: the station's log entries go to the window's log,
// each prefixed with its port when several stations run, and its boxes and beeps to the
// window; the form the station fills is its own (several stations would overwrite each
// other's fields), so field texts, the form timer and progress stay with the station. Its
// waits end early on the station's own stop.
#include <functional>
#include <string>

#include "core/commands/host.h"
#include "core/commands/stop_request.h"

namespace vk930 {

// How the wait of the station at `port` is spent: `stop` ends it early.
using StationSleep = std::function<void(int port, int milliseconds, const StopRequest& stop)>;

class StationHost : public Host {
  public:
    // `prefixed`: each log entry starts with the port ("COM2: "), as when several run.
    StationHost(Host& window, int port, bool prefixed, StationSleep sleep)
        : window_(window),
          port_(port),
          prefix_(prefixed ? "COM" + std::to_string(port) + ": " : std::string()),
          sleep_(std::move(sleep)) {}

    // The stop that ends the station's waits early: its state's, which is made after its host.
    void WatchStop(const StopRequest& stop) { stop_ = &stop; }

    void AppendLog(std::string text, int kind) override;
    void AppendEntry(std::string text, int kind, EntrySeverity severity) override;
    void ClearLog() override {}
    void Beep() override { window_.Beep(); }
    void MessageBox(const std::string& text, const std::string& caption) override;
    void Sleep(int milliseconds) override;
    void SetControlText(int, const std::string&) override {}
    void SetControlVisible(int, bool) override {}
    void SetControlReadOnly(int, bool) override {}
    void StartFormTimer(int) override {}
    void StopFormTimer() override {}
    // A series asks for none of the form's dialogs; one asked anyway is cancelled.
    GetParamsDialogAnswer RunGetParamsDialog(int, const std::string&) override { return {}; }
    FirmwareDialogAnswer RunFirmwareDialog() override { return {}; }
    FileDialogAnswer RunFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> CurrentDirectory() override { return window_.CurrentDirectory(); }
    bool SetCurrentDirectory(const std::string& path) override {
        return window_.SetCurrentDirectory(path);
    }
    void StartEditor(const std::string&) override {}
    void SetDocumentTitle(const std::string&) override {}

  private:
    Host& window_;
    const int port_;
    const std::string prefix_;
    const StopRequest unstoppable_;
    const StopRequest* stop_ = &unstoppable_;
    StationSleep sleep_;
};

}  // namespace vk930

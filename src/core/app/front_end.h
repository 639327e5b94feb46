#pragma once
// What the application asks of the window it runs in. A window implements both interfaces:
// the Qt window with widgets and a QThread, the Win32 window with its own controls and a
// thread of its own. Every call here is made on the GUI thread, and every call the window
// makes into the application (core/app/application.h) is made on the GUI thread too.
#include <functional>
#include <optional>
#include <string>

namespace vk930 {

class ToolController;

// Runs a terminal job off the GUI thread, so that the window keeps painting while the job
// waits for the terminal, and calls back on the GUI thread when it has returned. One job at a
// time; the jobs run on one thread for the window's life (a serial port opened by one job is
// used by the next on the same thread). While a job runs, its host calls reach the window as
// core/commands/host.h says.
class JobRunner {
  public:
    virtual ~JobRunner() = default;
    // Starts `job` on the job thread; once it has returned, `done` runs on the GUI thread.
    // False, and nothing runs, while another job runs.
    virtual bool Start(std::function<void()> job, std::function<void()> done) = 0;
    // True from Start until just before `done` runs.
    virtual bool Running() const = 0;
    // Runs `call` on the job thread and waits for it; does nothing while a job runs.
    virtual void RunAndWait(const std::function<void()>& call) = 0;
};

// The window around the application: what only a window can do, asked by the application
// at the moments it decides.
class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // While busy, every control, menu item and accelerator takes no input, except those for
    // which TakesInputWhileBusy (core/app/command_map.h) is true.
    virtual void SetBusy(bool busy) = 0;
    // Asks `question` with the answers yes and no (no the default); true for yes.
    virtual bool AskYesNo(const std::string& question) = 0;
    // Asks the window to close; the window then asks Application::AllowClose, as it does when
    // the user closes it from its frame.
    virtual void CloseWindow() = 0;

    // The About box, modal.
    virtual void ShowAbout() = 0;
    // The framework's open dialog for a parameter file; nullopt when cancelled.
    virtual std::optional<std::string> AskFileToOpen() = 0;
    // The Devices dialog (what each COM port reaches), modal; true when an assignment changed.
    virtual bool RunDevicesDialog() = 0;

    // The "Number a series" dialog, modal (core/app/series_dialog.h holds its logic).
    virtual void RunSeriesDialog() {}
    // A dialog of the Tools menu, modal: rendered from controller.Template(), its events
    // forwarded to the controller, which says when it closes.
    virtual void RunToolDialog(ToolController& controller) = 0;

    // The link control's place: the text of what the current port reaches.
    virtual void ShowPortReach(const std::string& text) = 0;
    // A job ended: its progress goes from the link control's place.
    virtual void ClearProgress() = 0;
    // A COM port menu item: its check mark and its tool tip (what the port reaches).
    virtual void ShowComPortItem(int port, bool checked, const std::string& reach) = 0;

    // Resizes the frame to fit the form; with shrinkOnly, a dimension in which the frame is
    // already smaller than the form is left as it is.
    virtual void FitToForm(bool shrinkOnly) = 0;
    // True while the form timer (Host::StartFormTimer) has an expiry pending.
    virtual bool FormTimerPending() const = 0;
};

}  // namespace vk930

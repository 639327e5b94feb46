#pragma once
// The application object: it owns the program's state, the settings store, the link, the
// main frame with its form, and the form's logic (the core's CVK900ConfigView). It handles
// New, Open, About and Exit itself and routes every other command of the frame and the form
// to the view. The terminal commands run on the command thread, one at a time: while one
// runs, input to the form, the menu and the accelerators is dropped, and closing the window
// asks whether to stop the command.
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/port_router.h"
#include "core/registry/terminal_registry.h"
#include "platform/qsettings_backend.h"
#include "platform/service_log_file.h"
#include "window/command_line.h"
#include "window/command_runner.h"
#include "window/recent_files.h"
#include "window/window_host.h"
#include "window/window_proof.h"

namespace vk930 {

class CMainFrame;
class MainFormWidget;

class CConfigApp : public QObject {
    Q_OBJECT
  public:
    // sleep: how the host blocks (default: really); tests pass one that only counts.
    explicit CConfigApp(const WindowOptions& options, Sleeper sleep = {});
    ~CConfigApp() override;

    // Creates the document (the command line's file, else a new one) and shows the window.
    // False when the file cannot be opened: the program then ends without a window.
    bool InitInstance();

    // Opens a parameter file as the document: on success the title becomes its name, it is
    // added to the recent files and the form's initial update runs. A failure shows a message
    // box and changes nothing.
    bool OpenDocumentFile(const QString& path);
    void OnFileNew();
    void OnFileOpen();
    void OnAppAbout();
    void OnAppExit();
    // Runs a command of the menu, the accelerators or the form's buttons; dropped while a
    // terminal command runs (but closing, which asks).
    void OnCommand(int id);
    // True from the start of a terminal command to its end; a firmware upload waiting for
    // the form timer counts as running.
    bool CommandRunning() const;

    CMainFrame& Frame() { return *frame_; }
    MainFormWidget& Form() { return *form_; }
    CVK900ConfigView& View() { return view_; }
    AppState& State() { return state_; }
    WindowHost& Host() { return host_; }
    WindowProofChannel& ProofLine() { return proofChannel_; }
    QSettingsBackendFactory& Settings() { return settings_; }
    const CommandRunner& Runner() const { return runner_; }

    // The terminal commands, by what stopping one leaves behind.
    enum class Job { kIdentify, kCommId, kGet, kSet, kUpload };

  private:
    struct Command {
        std::function<void()> run;
        std::optional<Job> job;  // set for a terminal command, which runs on the command thread
    };

    void StartJob(Job job, std::function<void()> run);
    void OnJobFinished();
    void OnFormTimer();
    void SetBusy(bool busy);
    bool AllowClose();
    void ShowPort();
    void InitialUpdate();
    void BuildCommandMap();
    void UpdateComPortMenu();
    void ReportLinkFault(const std::string& message);
    void OpenRecords();

    WindowOptions options_;
    AppState state_;
    QSettingsBackendFactory settings_;
    std::unique_ptr<CMainFrame> frame_;
    MainFormWidget* form_;
    WindowHost host_;
    PortRouter link_;
    CVK900ConfigView view_;
    ServiceLogFile serviceLog_;  // the records' place when the registry chosen cannot be opened
    std::unique_ptr<TerminalRegistry> registry_;
    WindowProofChannel proofChannel_;
    RecentFileList recent_;
    std::map<int, Command> commands_;
    bool firstUpdate_ = true;
    Job job_ = Job::kIdentify;        // the running one
    bool timerDeferred_ = false;      // the form timer expired while a command ran
    bool closeAfterCommand_ = false;  // the user chose to stop the command and close
    CommandRunner runner_;            // last: its thread ends before the link goes
};

}  // namespace vk930

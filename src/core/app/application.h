#pragma once
// The application behind the main window: it gives the window's ids their meaning, runs one
// command at a time, drops input while a terminal job runs (never runs it later), asks once
// before a close stops a job, handles New, Open and the recent files, serves the form timer's
// two duties and keeps the link control's place and the COM port menu up to date. A window
// only renders and forwards: widget events become the calls below, and the application
// answers through the FrontEnd, the JobRunner and the Host.
//
// Thread: every operation below is called on the GUI thread.
#include <functional>
#include <optional>
#include <string>

#include "core/app/command_map.h"
#include "core/app/front_end.h"
#include "core/app/history_tool.h"
#include "core/app/tool_dialog.h"
#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/commands/host.h"
#include "core/settings/recent_files.h"

namespace vk930 {

// The framework's name for a document that has no file.
inline constexpr char kUntitledDocument[] = "Untitled";

// What the application works with; all of them outlive it.
struct AppParts {
    Host& host;
    CVK900ConfigView& view;  // the form's logic, on `host`
    AppState& state;         // the view's state
    RecentFileStore& recent;
    FrontEnd& frontEnd;
    JobRunner& runner;
    // What a COM port reaches, as PortReachText gives it (the settings and the command line
    // decide, which the window's set-up knows).
    std::function<std::string(int port)> portReach;
    // Drops the links opened so far (run on the job thread, where they were opened), after
    // the Devices dialog has changed what a port reaches.
    std::function<void()> forgetLinks;
    // Where "Service history..." reads the records; null: the program keeps none.
    HistorySource* history = nullptr;
};

class Application : private ToolJobs {
  public:
    explicit Application(AppParts parts);

    // Start-up: opens `file` as the document (empty: a new document). False when the file
    // cannot be opened (a box has said why): the program then ends without showing a window.
    bool Start(const std::string& file);

    // A menu item, an accelerator or a form button with this id was used. Ids without a
    // command do nothing. While a job runs, everything is dropped but Close and Exit, which
    // ask whether to stop the job (through FrontEnd::CloseWindow and AllowClose).
    void OnCommand(int id);
    // The user typed in the CommID field; dropped while a job runs.
    void OnCommIdEdited(const std::string& text);
    // Opens a parameter file as the document (the open dialog, a dropped file, a second start
    // handing its file over): the caption shows its name, it goes to the top of the recent
    // files and the form's initial update runs. False, with a box saying why and nothing
    // changed, when it cannot be opened; false and nothing done while a job runs.
    bool OpenDocumentFile(const std::string& path);
    // The form timer expired. One that expires while a job runs is served when the job ends.
    void OnFormTimer();
    // The window is about to close: true lets it. Outside jobs it always closes; during a job
    // the user is asked once whether to stop it; yes asks the job to stop after its current
    // step and closes the window (FrontEnd::CloseWindow) once the job has ended.
    bool AllowClose();
    // The COM port menu is about to open: each item's check mark and what its port reaches.
    void OnComPortMenuShown();

    // True from the start of a terminal job to its end; a firmware upload waiting for the
    // form timer counts as running.
    bool CommandRunning() const;
    // The job running (or waiting for the form timer); nullopt when none.
    std::optional<TerminalJob> RunningJob() const;

  private:
    void Carry(const AppCommand& command);
    void RunTool(AppAction action);
    // ToolJobs: a Tools dialog's terminal work, as a job like the form's.
    bool RunToolJob(TerminalJob kind, std::function<void()> job,
                    std::function<void()> done) override;
    void StartJob(TerminalJob job, std::function<void()> run);
    void OnJobFinished();
    void SetBusy(bool busy);
    void ShowPort();
    void InitialUpdate();
    void NewDocument();
    void OpenFromDialog();
    void ChangeDevices();
    std::function<void()> JobOf(AppAction action);

    AppParts parts_;
    bool firstUpdate_ = true;
    TerminalJob job_ = TerminalJob::kIdentify;  // the running one
    bool timerDeferred_ = false;                // the form timer expired while a job ran
    bool closeAfterCommand_ = false;            // the user chose to stop the job and close
    std::function<void()> toolDone_;            // a Tools dialog's, after its job
};

}  // namespace vk930

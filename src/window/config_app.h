#pragma once
// The Qt window's set-up: it owns the program's state, the settings store, the link, the
// main frame with its form, the form's logic (the core's CVK900ConfigView) and the core's
// Application, and wires them together. Widget events go to the Application as ids; what the
// Application asks of the window (FrontEnd) is carried out here with widgets.
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "core/app/application.h"
#include "core/app/front_end.h"
#include "core/app/program_parts.h"
#include "core/app/records_place.h"
#include "core/app/series_dialog.h"
#include "core/app/stored_history.h"
#include "core/registry/terminal_registry.h"
#include "platform/qsettings_backend.h"
#include "window/command_line.h"
#include "window/command_runner.h"
#include "window/recent_files.h"
#include "window/window_host.h"
#include "window/window_proof.h"

namespace vk930 {

class CMainFrame;
class MainFormWidget;

class CConfigApp : public QObject, private FrontEnd {
    Q_OBJECT
  public:
    // sleep: how the host blocks (default: really); tests pass one that only counts.
    explicit CConfigApp(const WindowOptions& options, Sleeper sleep = {});
    ~CConfigApp() override;

    // Creates the document (the command line's file, else a new one) and shows the window.
    // False when the file cannot be opened: the program then ends without a window.
    bool InitInstance();
    // Why the ID registry the settings name cannot be opened (then nothing may run: the
    // records would have nowhere to go); nullopt when it is open.
    const std::optional<std::string>& IdRegistryProblem() const { return idRegistryProblem_; }

    // Application::OpenDocumentFile for a path of the window's.
    bool OpenDocumentFile(const QString& path);
    // A command of the menu, the accelerators or the form's buttons, as Application::OnCommand.
    void OnCommand(int id) { app_.OnCommand(id); }
    bool CommandRunning() const { return app_.CommandRunning(); }

    CMainFrame& Frame() { return *frame_; }
    MainFormWidget& Form() { return *form_; }
    CVK900ConfigView& View() { return program_.view; }
    AppState& State() { return program_.state; }
    WindowHost& Host() { return host_; }
    WindowProofChannel& ProofLine() { return proofChannel_; }
    QSettingsBackendFactory& Settings() { return settings_; }
    const CommandRunner& Runner() const { return runner_; }

    // What the "Number a series" dialog is given: this window's registry, links and log.
    SeriesDialogParts SeriesParts();

  private:
    void ReportLinkFault(const std::string& message);
    std::unique_ptr<TerminalRegistry> OpenIdRegistry();
    ProgramSetup Setup();
    // How this window's commands, and those of its series' stations, are recorded.
    RecorderSetup Recording();
    std::string PortReach(int port);
    RecordsPlace Records() const;

    // FrontEnd
    void SetBusy(bool busy) override;
    bool AskYesNo(const std::string& question) override;
    void CloseWindow() override;
    void ShowAbout() override;
    std::optional<std::string> AskFileToOpen() override;
    bool RunDevicesDialog() override;
    void RunSeriesDialog() override;
    void RunToolDialog(ToolController& controller) override;
    void ShowPortReach(const std::string& text) override;
    void ClearProgress() override;
    void ShowComPortItem(int port, bool checked, const std::string& reach) override;
    void FitToForm(bool shrinkOnly) override;
    bool FormTimerPending() const override;

    WindowOptions options_;
    QSettingsBackendFactory settings_;
    std::unique_ptr<CMainFrame> frame_;
    MainFormWidget* form_;
    WindowHost host_;
    std::optional<std::string> idRegistryProblem_;  // set while the registry below is opened
    WindowProofChannel proofChannel_;  // before the registry, which may give a notice at once
    std::unique_ptr<TerminalRegistry> idRegistry_;
    ProgramParts program_;
    Sleeper testSleep_;      // a test's sleep in place of the real one; unset: real
    StoredHistory history_;  // the records "Service history..." shows
    RecentFileList recent_;
    CommandRunner runner_;  // its thread ends before the link goes
    Application app_;
};

}  // namespace vk930

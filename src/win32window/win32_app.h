#pragma once
// The Win32 window's set-up: it owns the program's state, the settings store in the registry,
// the link, the main frame, the host, the form's logic (the core's CVK900ConfigView), the job
// thread and the core's Application, and wires them together. The frame's messages go to the
// Application as ids; what the Application asks of the window (FrontEnd) is done here.
#include <windows.h>
// The host contract's own names, not the Win32 macros that would rename them.
#undef MessageBox
#undef SetCurrentDirectory

#include <optional>
#include <string>

#include "core/app/application.h"
#include "core/app/box_proof_channel.h"
#include "core/app/front_end.h"
#include "core/app/program_parts.h"
#include "core/app/series_dialog.h"
#include "core/app/stored_history.h"
#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/port_router.h"
#include "core/registry/journal_file.h"
#include "core/registry/local_registry.h"
#include "core/settings/id_counter.h"
#include "platform/win32/registry_recent_files.h"
#include "platform/win32/registry_settings.h"
#include "platform/win32/win32_counter.h"
#include "win32window/file_dialog.h"
#include "win32window/job_thread.h"
#include "win32window/main_frame.h"
#include "win32window/win32_host.h"

namespace vk930 {

// Where the program keeps its settings and recent files, what its ports reach, and the
// stand-ins tests give for the file dialogs and the editor.
struct Win32AppOptions {
    std::optional<std::string> link;  // one spec every COM port reaches; nullopt: DeviceN
    std::string file;                 // the document to open at start; empty: a new one
    HKEY settingsRoot = HKEY_LOCAL_MACHINE;
    std::string settingsSubkey = kSettingsSubkey;
    HKEY recentRoot = HKEY_CURRENT_USER;
    std::string recentProfile = ProfileSubkey();
    FileDialogRunner files = RunWin32FileDialog;
    EditorStarter editor;     // empty: Notepad
    Win32Sleeper sleep;       // empty: really blocks
    std::string stateFolder;  // the service log's and backups' folder; empty: Win32StateFolder()
};

class Win32App : private FrontEnd {
  public:
    Win32App(HINSTANCE module, Win32AppOptions options);
    ~Win32App() override;
    Win32App(const Win32App&) = delete;
    Win32App& operator=(const Win32App&) = delete;

    // Makes the window and opens the document (the options' file, else a new one); false when
    // either fails (a box has said why): the program then ends. The window stays hidden until
    // Show.
    bool Start();
    void Show(int how) { frame_.Show(how); }
    int RunMessageLoop() { return frame_.RunMessageLoop(); }

    // Application::OpenDocumentFile (a dropped file, a second start's file).
    bool OpenDocumentFile(const std::string& path) { return app_.OpenDocumentFile(path); }
    bool CommandRunning() const { return app_.CommandRunning(); }
    // Serves the window until the running job (if any) has ended.
    void WaitForJob() { runner_.WaitForIdle(); }

    // What the "Number a series" dialog is given: a station per ticked port on a link of its
    // own, the window's counter and records, host, settings and job thread.
    SeriesDialogParts SeriesParts();

    MainFrame& Frame() { return frame_; }
    Win32Host& Host() { return host_; }
    AppState& State() { return program_.state; }
    const std::string& StartError() const { return frame_.LastError(); }

  private:
    static BootFileLookup ProgramBootFiles();
    LinkOpener PortOpener();
    RecorderSetup Recording();
    FrameCallbacks Callbacks();
    void OnTimer(int timer);
    void ReportLinkFault(const std::string& message);

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

    Win32AppOptions options_;
    RegistrySettingsFactory settings_;
    // The next-ID button's counter: the settings' "commID" with the bench's journal of IDs,
    // under a lock every program of the bench takes, as the Qt window and vk930ctl keep it.
    NamedMutexLock counterLock_;
    std::string stateFolder_;  // the service log's and the backups' folder
    // The service log: the journal of IDs and the commands' records, under a lock of its own
    // that every program and station thread appending to it takes.
    NamedMutexLock logLock_;
    JournalFile journal_;
    IdCounter counter_;
    LocalRegistry registry_;
    StoredHistory history_;  // the records "Service history..." shows
    RegistryRecentFiles recent_;
    MainFrame frame_;
    Win32Host host_;
    BoxProofChannel boxes_;  // the counter's notices, refusals
    ProgramParts program_;
    Win32JobRunner runner_;  // its thread ends before the link goes
    Application app_;
    int checkedPort_ = 0;  // the COM port item with the check mark
};

}  // namespace vk930

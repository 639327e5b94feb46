#pragma once
// The application object: it owns the program's state, the settings store, the link, the
// main frame with its form, and the form's logic (the core's CVK900ConfigView). It handles
// New, Open, About and Exit itself and routes every other command of the frame and the form
// to the view.
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/link/port_router.h"
#include "platform/qsettings_backend.h"
#include "window/command_line.h"
#include "window/recent_files.h"
#include "window/window_host.h"

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
    // Runs a command of the menu, the accelerators or the form's buttons.
    void OnCommand(int id);

    CMainFrame& Frame() { return *frame_; }
    MainFormWidget& Form() { return *form_; }
    CVK900ConfigView& View() { return view_; }
    AppState& State() { return state_; }
    WindowHost& Host() { return host_; }
    QSettingsBackendFactory& Settings() { return settings_; }

  private:
    void InitialUpdate();
    void BuildCommandMap();
    void UpdateComPortMenu();
    void ReportLinkFault(const std::string& message);

    WindowOptions options_;
    AppState state_;
    QSettingsBackendFactory settings_;
    std::unique_ptr<CMainFrame> frame_;
    MainFormWidget* form_;
    WindowHost host_;
    PortRouter link_;
    CVK900ConfigView view_;
    RecentFileList recent_;
    std::map<int, std::function<void()>> commands_;
    bool firstUpdate_ = true;
};

}  // namespace vk930

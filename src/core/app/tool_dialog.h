#pragma once
// A dialog of the Tools menu, described once: the controller (core) decides what it shows and
// what its buttons do; a window renders its template and implements ToolView, forwarding each
// click, edit and selection. Terminal work runs as a job through ToolJobs, so the dialog and
// the window keep painting while it waits for the terminal.
//
// Thread: every call on either side is made on the GUI thread.
#include <functional>
#include <string>
#include <vector>

#include "core/app/command_map.h"
#include "core/commands/host.h"
#include "core/forms/dialog_template.h"

namespace vk930 {

// One row of a list view, a text per column (the template's items are the headings).
using ToolRow = std::vector<std::string>;

// What a controller asks of its dialog, by control id.
class ToolView {
  public:
    virtual ~ToolView() = default;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual void SetEnabled(int id, bool enabled) = 0;
    // Replaces a list view's rows; the selection goes.
    virtual void SetRows(int id, const std::vector<ToolRow>& rows) = 0;
    // Asks `question` with yes and no (no the default); true for yes.
    virtual bool AskYesNo(const std::string& question) = 0;
    // A box with an OK button, for what went wrong outside a job's own log entries.
    virtual void Tell(const std::string& text) = 0;
    virtual FileDialogAnswer AskFile(const FileDialogRequest& request) = 0;
    // Ends the dialog (the controller has done what it was opened for).
    virtual void Close() = 0;
};

class ToolController {
  public:
    virtual ~ToolController() = default;
    virtual const DialogTemplate& Template() const = 0;
    // The dialog is built and about to show: fill it.
    virtual void OnShow(ToolView& view) = 0;
    // A button was clicked.
    virtual void OnCommand(int id) = 0;
    // The user changed an edit field's text.
    virtual void OnEdited(int id, const std::string& text) {
        (void)id;
        (void)text;
    }
    // A list view's selection changed; -1: none.
    virtual void OnRowSelected(int id, int row) {
        (void)id;
        (void)row;
    }
    // False while the controller's job runs: the dialog stays open then.
    virtual bool MayClose() const = 0;
};

// Runs terminal work as the application's one job at a time.
class ToolJobs {
  public:
    virtual ~ToolJobs() = default;
    // Starts `job` off the GUI thread; `done` runs on the GUI thread once it has returned.
    // False, and nothing runs, when a job runs already.
    virtual bool RunToolJob(TerminalJob kind, std::function<void()> job,
                            std::function<void()> done) = 0;
};

}  // namespace vk930

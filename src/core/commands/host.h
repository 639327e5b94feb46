#pragma once
// What a command may ask of the window around it. The Qt form implements it, the
// command-line tool implements it on a terminal, the tests implement it as a recording fake.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace vk930 {

// Icon kinds of the operation log; the kind is the image index of the entry's icon.
enum LogIcon : int { kIconFailure = 0, kIconSuccess = 1, kIconProgress = 2 };

// What an entry means, beside its icon: one icon (kind 0) stands for failures, warnings and
// cancellations alike, and kind 1 also marks the opened connection. Set where the entry is
// made, so a front end can tell a warning from a failure without reading the text.
enum class EntrySeverity { kFailure, kWarning, kCancellation, kProgress, kSuccess };

// The severity an entry of that icon kind has unless its maker says otherwise.
constexpr EntrySeverity SeverityOfKind(int kind) {
    switch (kind) {
        case kIconSuccess:
            return EntrySeverity::kSuccess;
        case kIconProgress:
            return EntrySeverity::kProgress;
        default:
            return EntrySeverity::kFailure;
    }
}

// The Get Parameters dialog (template 131): in goes the preselected port index and the path,
// out comes the user's answer. portIndex is -1 when no entry of the port list is selected.
struct GetParamsDialogAnswer {
    bool ok = false;
    int portIndex = -1;
    std::string path;
};

// The firmware dialog (template 138).
struct FirmwareDialogAnswer {
    bool ok = false;
    std::string file;
};

// A file-open or file-save dialog request and its answer.
struct FileDialogRequest {
    bool save = false;
    std::string defaultExtension;  // without the dot, e.g. "pcg"
    std::string initialName;       // e.g. "*.pcg"
    std::string filterName;        // empty: no file-type list
    std::string filterPattern;
};
struct FileDialogAnswer {
    bool ok = false;
    std::string path;
};

// How far the running command has got, for a front end that shows it (a bar, a countdown);
// the operation log is not touched by it.
enum class ProgressKind {
    kUpload,  // done: image bytes sent, total: bytes in all
    kLines,   // done: parameter-file lines applied by a Set run; total 0: not known
    kWait,    // total: the length of a wait that starts now, in milliseconds
};
struct ProgressReport {
    ProgressKind kind = ProgressKind::kUpload;
    std::size_t done = 0;
    std::size_t total = 0;
    bool operator==(const ProgressReport&) const = default;
};

// Threads. A window runs its terminal jobs off the GUI thread (core/app/front_end.h,
// JobRunner), so a command makes its host calls from the job thread; everything else (the
// initial update, the form timer's "File:" field, Clear list, Edit with Notepad, the COM port
// menu, New and Open) calls from the GUI thread. A window's host therefore carries out:
//   - Sleep on the calling thread, blocking only it: the window goes on painting meanwhile;
//   - CurrentDirectory and SetCurrentDirectory on the calling thread: the working directory
//     is the process's, the same on every thread;
//   - every other call on the GUI thread, where the widgets, the form timer and the modal
//     dialogs live, with the calling thread waiting until it is done; a call made on the GUI
//     thread runs at once. So the order of log entries, link calls and waits is the
//     command's own, and a dialog's answer is there when the call returns.
// The command-line tool and the tests' fake carry out every call on the thread that makes it.
class Host {
  public:
    virtual ~Host() = default;

    // Operation log.
    virtual void AppendLog(std::string text, int kind) = 0;
    // The entry with its severity; hosts that show only the icon keep the default.
    virtual void AppendEntry(std::string text, int kind, EntrySeverity severity) {
        (void)severity;
        AppendLog(std::move(text), kind);
    }
    virtual void ClearLog() = 0;

    // Plain system beep (MessageBeep(-1)), modal message box with an OK button only.
    virtual void Beep() = 0;
    virtual void MessageBox(const std::string& text, const std::string& caption) = 0;
    // Blocks for the given time; fakes advance a virtual clock instead.
    virtual void Sleep(int milliseconds) = 0;

    // View updates of form controls, addressed by control id. The core keeps the form's state
    // (see FormModel); these only mirror it on screen.
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual void SetControlVisible(int id, bool visible) = 0;
    virtual void SetControlReadOnly(int id, bool readOnly) = 0;

    // The form timer (id 1): one pending expiry at most; starting replaces a pending one.
    virtual void StartFormTimer(int milliseconds) = 0;
    virtual void StopFormTimer() = 0;

    // Modal dialogs, answered as plain values.
    virtual GetParamsDialogAnswer RunGetParamsDialog(int portIndex, const std::string& path) = 0;
    virtual FirmwareDialogAnswer RunFirmwareDialog() = 0;
    virtual FileDialogAnswer RunFileDialog(const FileDialogRequest& request) = 0;

    // Working directory; nullopt when it cannot be read.
    virtual std::optional<std::string> CurrentDirectory() = 0;
    virtual bool SetCurrentDirectory(const std::string& path) = 0;

    // Opens the parameter file (empty: nothing) in the user's text editor.
    virtual void StartEditor(const std::string& path) = 0;

    // The document's title changed (the caption shows it).
    virtual void SetDocumentTitle(const std::string& title) = 0;

    // Progress of the running command; a host that shows none ignores it.
    virtual void Progress(const ProgressReport& report) { (void)report; }
};

}  // namespace vk930

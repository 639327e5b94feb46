#pragma once
// The host of the command-line tool: log entries become lines on standard output, modal
// dialogs are answered from the command line, message boxes go to standard error (with
// --json everything but usage errors becomes events on standard output). A failure to write
// the output never stops a command: it is noted, and the program reports it at the end.
#include <QJsonObject>
#include <chrono>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/json_events.h"
#include "cli/output_format.h"
#include "core/commands/host.h"
#include "core/commands/outcome.h"
#include "core/commands/stop_request.h"

namespace vk930 {

struct DialogAnswers {
    std::optional<GetParamsDialogAnswer> getParams;  // unset: cancel
    std::optional<FirmwareDialogAnswer> firmware;    // unset: cancel
    std::optional<std::string> openFile;             // unset: cancel
};

class TerminalHost : public Host {
  public:
    // `json` is where the events go with OutputStyle::kJson (it must then be given).
    TerminalHost(std::ostream& out, std::ostream& err, OutputStyle style,
                 JsonEventWriter* json = nullptr);

    DialogAnswers& Answers() { return answers_; }
    // Sleeps end early once this is requested (nullptr: never), so a stop is prompt.
    void WatchStop(const StopRequest* stop) { stop_ = stop; }
    bool StopRequested() const { return stop_ && stop_->Requested(); }
    bool TimerPending() const { return timerPending_; }
    // Prints the form fields the command set, in the order they were first set.
    void PrintFields();
    // How the command ended: "=CLASS<TAB>detail" as the last porcelain line; in readable
    // output a failure's class and detail on standard error. JSON ends with PrintResult.
    void PrintOutcome(const Outcome& outcome);
    // The last JSON event: the outcome and the exit status; nothing in the other styles.
    void PrintResult(const Outcome& outcome, int exitStatus);

    bool Json() const { return style_ == OutputStyle::kJson; }
    OutputStyle Style() const { return style_; }
    JsonEventWriter* Events() const { return json_; }
    // Every JSON event of this host carries the station's port (a series on several ports).
    void SetJsonPort(int port) { jsonPort_ = port; }
    // A JSON event of a command's own (a row of a table); only with Json().
    void Emit(const QJsonObject& event);
    // Text of a command's own on standard output (a table), in the other styles.
    void Print(const std::string& text);
    // Why the output could not be written (a closed pipe, a full disk); empty when it could.
    const std::string& OutputProblem() const { return outputProblem_; }

    void AppendLog(std::string text, int kind) override;
    void AppendEntry(std::string text, int kind, EntrySeverity severity) override;
    void ClearLog() override {}
    void Beep() override;
    void MessageBox(const std::string& text, const std::string& caption) override;
    void Sleep(int milliseconds) override;
    void SetControlText(int id, const std::string& text) override;
    void SetControlVisible(int, bool) override {}
    void SetControlReadOnly(int, bool) override {}
    void StartFormTimer(int) override { timerPending_ = true; }
    void StopFormTimer() override { timerPending_ = false; }
    GetParamsDialogAnswer RunGetParamsDialog(int portIndex, const std::string& path) override;
    FirmwareDialogAnswer RunFirmwareDialog() override;
    FileDialogAnswer RunFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> CurrentDirectory() override;
    bool SetCurrentDirectory(const std::string& path) override;
    void StartEditor(const std::string&) override {}
    void SetDocumentTitle(const std::string&) override {}
    // An upload's bar on a terminal; with --json every report is an event.
    void Progress(const ProgressReport& report) override;

    // Fields set before the command ran (by the settings load) are not the command's.
    void ForgetFields() {
        fieldOrder_.clear();
        fields_.clear();
    }

    // A transient line on standard error, only when it is a terminal (the upload's progress
    // bar): each replaces the one before, and the next log entry erases it.
    void ShowStatus(const std::string& line);
    // A remark for the user on standard error: "vk930ctl: " and the text (with --json a
    // "note" event).
    void Note(const std::string& text);
    // Why a command refused to go on: a note "refused: <text>". The command's own refusal with
    // the same text then prints no second line.
    void NoteRefusal(const std::string& text);

  private:
    void EraseStatus();
    // Flushes the output and notes the first failure to write it.
    void FlushOut();

    std::ostream& out_;
    std::ostream& err_;
    OutputStyle style_;
    JsonEventWriter* json_;
    std::optional<int> jsonPort_;
    DialogAnswers answers_;
    const StopRequest* stop_ = nullptr;
    std::string outputProblem_;
    std::string refusalSaid_;  // the last NoteRefusal text
    bool timerPending_ = false;
    bool statusShown_ = false;
    std::optional<std::chrono::steady_clock::time_point> uploadStart_;  // of the bar's rate
    std::vector<int> fieldOrder_;
    std::map<int, std::string> fields_;
};

}  // namespace vk930

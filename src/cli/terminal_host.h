#pragma once
// The host of the command-line tool: log entries become lines on standard output, modal
// dialogs are answered from the command line, message boxes go to standard error. A failure
// to write the output never stops a command: it is noted, and the program reports it at the end.
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
    TerminalHost(std::ostream& out, std::ostream& err, bool porcelain);

    DialogAnswers& Answers() { return answers_; }
    // Sleeps end early once this is requested (nullptr: never), so a stop is prompt.
    void WatchStop(const StopRequest* stop) { stop_ = stop; }
    bool TimerPending() const { return timerPending_; }
    // Prints the form fields the command set, in the order they were first set.
    void PrintFields();
    // How the command ended: "=CLASS<TAB>detail" as the last porcelain line; in readable
    // output a failure's class and detail on standard error.
    void PrintOutcome(const Outcome& outcome);
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

    // Fields set before the command ran (by the settings load) are not the command's.
    void ForgetFields() {
        fieldOrder_.clear();
        fields_.clear();
    }

    // A transient line on standard error, only when it is a terminal (the upload's progress
    // bar): each replaces the one before, and the next log entry erases it.
    void ShowStatus(const std::string& line);
    // A remark for the user on standard error: "vk930ctl: " and the text.
    void Note(const std::string& text);

  private:
    void EraseStatus();
    // Flushes the output and notes the first failure to write it.
    void FlushOut();

    std::ostream& out_;
    std::ostream& err_;
    bool porcelain_;
    DialogAnswers answers_;
    const StopRequest* stop_ = nullptr;
    std::string outputProblem_;
    bool timerPending_ = false;
    bool statusShown_ = false;
    std::vector<int> fieldOrder_;
    std::map<int, std::string> fields_;
};

}  // namespace vk930

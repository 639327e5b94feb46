#pragma once
// A recording host: every log entry, beep, sleep, message box and field change in order,
// a virtual clock for sleeps, and scripted answers for the modal dialogs.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/commands/host.h"

namespace vk930::test {

struct LogEntry {
    std::string text;
    int kind;
    bool operator==(const LogEntry&) const = default;
};

class FakeHost : public Host {
  public:
    // Everything that happened, one line each: "log 2 Open COM1", "beep", "sleep 300",
    // "box caption|text", "text 1016 KD04010003", "show 1030 1", ...
    std::vector<std::string> events;
    std::vector<LogEntry> log;
    std::vector<EntrySeverity> severities;  // of each entry of `log`
    // Called with each event as it is recorded (to act at a chosen step, e.g. ask for a stop).
    std::function<void(const std::string& event)> onEvent;
    std::map<int, std::string> texts;
    std::map<int, bool> visible;
    std::map<int, bool> readOnly;
    std::vector<std::pair<std::string, std::string>> boxes;  // caption, text
    long long clockMs = 0;
    int beeps = 0;
    int timerMs = -1;  // -1: stopped
    std::string currentDir = "/work/dir";
    std::string title;
    std::vector<std::string> editorStarts;
    std::vector<ProgressReport> progress;  // kept apart from `events`: no log, no link call

    std::deque<GetParamsDialogAnswer> getParamsAnswers;  // empty: cancel
    std::deque<FirmwareDialogAnswer> firmwareAnswers;
    std::deque<FileDialogAnswer> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::pair<int, std::string>> getParamsRequests;

    std::vector<std::string> LogTexts() const;
    int Count(const std::string& eventPrefix) const;

    void AppendLog(std::string text, int kind) override;
    void AppendEntry(std::string text, int kind, EntrySeverity severity) override;
    void ClearLog() override;
    void Beep() override;
    void MessageBox(const std::string& text, const std::string& caption) override;
    void Sleep(int milliseconds) override;
    void SetControlText(int id, const std::string& text) override;
    void SetControlVisible(int id, bool visible) override;
    void SetControlReadOnly(int id, bool readOnly) override;
    void StartFormTimer(int milliseconds) override;
    void StopFormTimer() override;
    GetParamsDialogAnswer RunGetParamsDialog(int portIndex, const std::string& path) override;
    FirmwareDialogAnswer RunFirmwareDialog() override;
    FileDialogAnswer RunFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> CurrentDirectory() override { return currentDir; }
    bool SetCurrentDirectory(const std::string& path) override;
    void StartEditor(const std::string& path) override;
    void Progress(const ProgressReport& report) override { progress.push_back(report); }
    void SetDocumentTitle(const std::string& text) override;

  private:
    void Record(std::string event);
};

}  // namespace vk930::test

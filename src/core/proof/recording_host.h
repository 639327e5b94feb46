#pragma once
// A host that forwards everything to the front end's host and keeps, while a command is
// recorded, the log entries the command made.
#include <vector>

#include "core/commands/host.h"
#include "core/proof/service_record.h"

namespace vk930 {

class RecordingHost : public Host {
  public:
    explicit RecordingHost(Host& inner) : inner_(inner) {}

    void Start() {
        entries_.clear();
        recording_ = true;
    }
    void Stop() { recording_ = false; }
    const std::vector<RecordedEntry>& Entries() const { return entries_; }

    void AppendLog(std::string text, int kind) override {
        AppendEntry(std::move(text), kind, SeverityOfKind(kind));
    }
    void AppendEntry(std::string text, int kind, EntrySeverity severity) override {
        if (recording_) entries_.push_back({text, kind, severity});
        inner_.AppendEntry(std::move(text), kind, severity);
    }
    void ClearLog() override { inner_.ClearLog(); }
    void Beep() override { inner_.Beep(); }
    void MessageBox(const std::string& text, const std::string& caption) override {
        inner_.MessageBox(text, caption);
    }
    void Sleep(int milliseconds) override { inner_.Sleep(milliseconds); }
    void SetControlText(int id, const std::string& text) override {
        inner_.SetControlText(id, text);
    }
    void SetControlVisible(int id, bool visible) override { inner_.SetControlVisible(id, visible); }
    void SetControlReadOnly(int id, bool readOnly) override {
        inner_.SetControlReadOnly(id, readOnly);
    }
    void StartFormTimer(int milliseconds) override { inner_.StartFormTimer(milliseconds); }
    void StopFormTimer() override { inner_.StopFormTimer(); }
    GetParamsDialogAnswer RunGetParamsDialog(int portIndex, const std::string& path) override {
        return inner_.RunGetParamsDialog(portIndex, path);
    }
    FirmwareDialogAnswer RunFirmwareDialog() override { return inner_.RunFirmwareDialog(); }
    FileDialogAnswer RunFileDialog(const FileDialogRequest& request) override {
        return inner_.RunFileDialog(request);
    }
    std::optional<std::string> CurrentDirectory() override { return inner_.CurrentDirectory(); }
    bool SetCurrentDirectory(const std::string& path) override {
        return inner_.SetCurrentDirectory(path);
    }
    void StartEditor(const std::string& path) override { inner_.StartEditor(path); }
    void SetDocumentTitle(const std::string& title) override { inner_.SetDocumentTitle(title); }
    void Progress(const ProgressReport& report) override { inner_.Progress(report); }

  private:
    Host& inner_;
    std::vector<RecordedEntry> entries_;
    bool recording_ = false;
};

}  // namespace vk930

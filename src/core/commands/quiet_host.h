#pragma once
// A host that shows nothing, waits for nothing and answers every dialog with "cancel": for
// command runs that nobody watches (the dry run, the fuzzers). Override what such a run needs.
#include "core/commands/host.h"

namespace vk930 {

class QuietHost : public Host {
  public:
    void AppendLog(std::string, int) override {}
    void ClearLog() override {}
    void Beep() override {}
    void MessageBox(const std::string&, const std::string&) override {}
    void Sleep(int) override {}
    void SetControlText(int, const std::string&) override {}
    void SetControlVisible(int, bool) override {}
    void SetControlReadOnly(int, bool) override {}
    void StartFormTimer(int) override {}
    void StopFormTimer() override {}
    GetParamsDialogAnswer RunGetParamsDialog(int, const std::string&) override { return {}; }
    FirmwareDialogAnswer RunFirmwareDialog() override { return {}; }
    FileDialogAnswer RunFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> CurrentDirectory() override { return std::nullopt; }
    bool SetCurrentDirectory(const std::string&) override { return false; }
    void StartEditor(const std::string&) override {}
    void SetDocumentTitle(const std::string&) override {}
};

}  // namespace vk930

#pragma once
// A host that shows nothing and answers every dialog with "cancel": commands run at full
// speed under the fuzzer.
#include "core/commands/host.h"

namespace vk930::fuzz {

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
    std::optional<std::string> CurrentDirectory() override { return "/"; }
    bool SetCurrentDirectory(const std::string&) override { return true; }
    void StartEditor(const std::string&) override {}
    void SetDocumentTitle(const std::string&) override {}
};

}  // namespace vk930::fuzz

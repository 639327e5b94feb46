#pragma once
// The link of a port that reaches nothing: no port opens and nothing answers. A firmware
// upload still reads its files first, so a missing boot file (1) or firmware file (2) is
// named before the silence of the boot loader (3), as on every other link.
#include "core/firmware/upload_procedure.h"
#include "core/link/link_ctrl.h"

namespace vk930 {

class NoTerminalLink : public CLinkCtrl {
  public:
    explicit NoTerminalLink(BootFileLookup bootFiles = {}) : bootFiles_(std::move(bootFiles)) {}

    bool Connect(Short, Short) override { return false; }
    Short ReadInfo() override { return 0; }
    Short GetDeviceType() override { return -1; }
    std::string GetVersionText() override { return {}; }
    std::string GetCommIdText() override { return {}; }
    bool ReadPage0(Short, Short) override { return false; }
    bool ReadPage1(Short, Short) override { return false; }
    Short GetByte(Short, Short) override { return 0; }
    std::string GetText(Short, Short, Short) override { return {}; }
    Short WriteByte(Short, Short, Short) override { return kWriteByteFailed; }
    bool WriteText(Short, Short, const std::string&) override { return false; }
    void ResetDevice() override {}
    Short UploadFirmware(const std::string& path) override;
    void SetUploadProgress(UploadProgress progress) override { progress_ = std::move(progress); }
    bool LastCallFailed() const override { return true; }

  private:
    BootFileLookup bootFiles_;
    UploadProgress progress_;
};

}  // namespace vk930

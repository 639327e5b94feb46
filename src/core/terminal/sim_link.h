#pragma once
// The link control in process: the simulated terminal behind the thirteen operations.
#include <memory>

#include "core/firmware/upload_procedure.h"
#include "core/link/link_ctrl.h"
#include "core/link/page_copy.h"
#include "core/terminal/terminal_model.h"

namespace vk930 {

class SimLink : public CLinkCtrl {
  public:
    // `bootFiles`: where a firmware upload looks for the boot file.
    explicit SimLink(std::shared_ptr<TerminalModel> terminal, BootFileLookup bootFiles = {})
        : terminal_(std::move(terminal)), bootFiles_(std::move(bootFiles)) {}

    bool Connect(Short port, Short baud) override;
    Short ReadInfo() override;
    Short GetDeviceType() override;
    std::string GetVersionText() override;
    std::string GetCommIdText() override;
    bool ReadPage0(Short first, Short last) override { return ReadPage(0, first, last); }
    bool ReadPage1(Short first, Short last) override { return ReadPage(1, first, last); }
    Short GetByte(Short page, Short offset) override { return copy_.GetByte(page, offset); }
    std::string GetText(Short offset, Short page, Short length) override {
        return copy_.GetText(offset, page, length);
    }
    Short WriteByte(Short offset, Short value, Short page) override;
    bool WriteText(Short offset, Short page, const std::string& text) override;
    void ResetDevice() override;
    Short UploadFirmware(const std::string& path) override;
    void SetUploadProgress(UploadProgress progress) override { progress_ = std::move(progress); }
    bool LastCallFailed() const override { return lastFailed_; }
    std::string LastUploadProblem() const override { return uploadProblem_; }

    TerminalModel& Terminal() { return *terminal_; }

  private:
    bool Answers() const { return open_ && terminal_->Present() && baud_ == kBaudApplication; }
    bool ReadPage(int page, Short first, Short last);
    // Notes whether the operation succeeded, for LastCallFailed, and passes that on.
    bool Note(bool ok) {
        lastFailed_ = !ok;
        return ok;
    }

    std::shared_ptr<TerminalModel> terminal_;
    BootFileLookup bootFiles_;
    PageCopy copy_;

  public:
    const PageCopy* FetchedPages() const override { return &copy_; }
    bool open_ = false;
    Short baud_ = 0;
    UploadProgress progress_;
    std::string uploadProblem_;
    bool lastFailed_ = false;
};

}  // namespace vk930

#pragma once
// A link that forwards every call and notes, while a command is recorded, which bytes the
// terminal acknowledged and what the command learnt of the terminal: the identity the
// command reports to it as a value, and the page-0 bytes of the copy the command itself
// fetched. It adds no call of its own.
#include "core/commands/command_context.h"
#include "core/link/link_ctrl.h"
#include "core/proof/service_record.h"
#include "core/proof/written_bytes.h"

namespace vk930 {

class RecordingLink : public CLinkCtrl, public TerminalNotes {
  public:
    explicit RecordingLink(CLinkCtrl& inner) : inner_(inner) {}

    // Starts a fresh record (identity unknown, nothing written).
    void Reset();
    const RecordedIdentity& Identity() const { return identity_; }
    const WrittenBytes& Written() const { return written_; }

    bool Connect(Short port, Short baud) override { return inner_.Connect(port, baud); }
    Short ReadInfo() override { return inner_.ReadInfo(); }
    Short GetDeviceType() override { return inner_.GetDeviceType(); }
    std::string GetVersionText() override { return inner_.GetVersionText(); }
    std::string GetCommIdText() override { return inner_.GetCommIdText(); }
    bool ReadPage0(Short first, Short last) override;
    bool ReadPage1(Short first, Short last) override { return inner_.ReadPage1(first, last); }
    Short GetByte(Short page, Short offset) override { return inner_.GetByte(page, offset); }
    std::string GetText(Short offset, Short page, Short length) override {
        return inner_.GetText(offset, page, length);
    }
    Short WriteByte(Short offset, Short value, Short page) override;
    bool WriteText(Short offset, Short page, const std::string& text) override;
    void ResetDevice() override { inner_.ResetDevice(); }
    Short UploadFirmware(const std::string& path) override { return inner_.UploadFirmware(path); }
    bool LastCallFailed() const override { return inner_.LastCallFailed(); }
    const PageCopy* FetchedPages() const override { return inner_.FetchedPages(); }
    std::string LastUploadProblem() const override { return inner_.LastUploadProblem(); }
    void SetUploadProgress(UploadProgress progress) override {
        inner_.SetUploadProgress(std::move(progress));
    }

    // TerminalNotes
    void Identified(const TerminalIdentity& identity) override;
    void DeviceTypeRead(int type) override { identity_.deviceType = type; }
    void CommIdRead(int commId) override { SeeCommId(commId); }

  private:
    void SeeCommId(int commId);

    CLinkCtrl& inner_;
    RecordedIdentity identity_;
    WrittenBytes written_;
};

}  // namespace vk930

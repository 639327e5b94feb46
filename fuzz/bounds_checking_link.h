#pragma once
// Passes every call on to a link and aborts on any argument a command must never send: a page
// other than 0 or 1, an offset outside 0 to 255, a byte outside 0 to 255, or a text that
// would reach past the end of its field (heading, form-lock texts, function-key record).
#include <cstdlib>
#include <memory>

#include "core/link/link_ctrl.h"

namespace vk930::fuzz {

class BoundsCheckingLink : public CLinkCtrl {
  public:
    explicit BoundsCheckingLink(std::unique_ptr<CLinkCtrl> inner) : inner_(std::move(inner)) {}

    bool Connect(Short port, Short baud) override { return inner_->Connect(port, baud); }
    Short ReadInfo() override { return inner_->ReadInfo(); }
    Short GetDeviceType() override { return inner_->GetDeviceType(); }
    std::string GetVersionText() override { return inner_->GetVersionText(); }
    std::string GetCommIdText() override { return inner_->GetCommIdText(); }
    bool ReadPage0(Short first, Short last) override {
        Require(first == 0 && last == 255);
        return inner_->ReadPage0(first, last);
    }
    bool ReadPage1(Short first, Short last) override {
        Require(first == 0 && last == 255);
        return inner_->ReadPage1(first, last);
    }
    Short GetByte(Short page, Short offset) override {
        Require(ValidPage(page) && ValidOffset(offset));
        return inner_->GetByte(page, offset);
    }
    std::string GetText(Short offset, Short page, Short length) override {
        Require(ValidPage(page) && ValidOffset(offset) && length >= 0 && offset + length <= 256);
        return inner_->GetText(offset, page, length);
    }
    Short WriteByte(Short offset, Short value, Short page) override {
        Require(ValidPage(page) && ValidOffset(offset) && value >= 0 && value <= 255);
        return inner_->WriteByte(offset, value, page);
    }
    bool WriteText(Short offset, Short page, const std::string& text) override {
        Require(FitsItsField(offset, page, text.size()));
        return inner_->WriteText(offset, page, text);
    }
    void ResetDevice() override { inner_->ResetDevice(); }
    Short UploadFirmware(const std::string& path) override { return inner_->UploadFirmware(path); }
    // The Set run asks it after ResetDevice: an unconfirmed reset must reach the run.
    bool LastCallFailed() const override { return inner_->LastCallFailed(); }

  private:
    static bool ValidPage(int page) { return page == 0 || page == 1; }
    static bool ValidOffset(int offset) { return offset >= 0 && offset <= 255; }
    static void Require(bool holds) {
        if (!holds) std::abort();
    }
    // The fields a text may be written to, and where each ends.
    static bool FitsItsField(int offset, int page, std::size_t length) {
        const auto within = [&](int start, int end) {
            return offset == start && offset + static_cast<long>(length) <= end;
        };
        if (page == 1 && within(0, 20)) return true;                           // HEADING
        if (page == 0 && (within(100, 120) || within(120, 140))) return true;  // form-lock texts
        for (int record = 0; record < 10; ++record) {
            const int base = 20 + 16 * record;  // length byte, then up to 15 text bytes
            if (page == 1 && within(base + 1, base + 16)) return true;
        }
        return false;
    }

    std::unique_ptr<CLinkCtrl> inner_;
};

}  // namespace vk930::fuzz

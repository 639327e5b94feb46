#pragma once
// The link the commands talk to: on Connect it opens whatever the chosen COM port reaches
// (a simulated terminal, a serial device, or nothing) and forwards every later call there.
// A port's link is kept once opened, so a terminal living in memory stays the same terminal
// from one command to the next.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/base/result.h"
#include "core/link/link_ctrl.h"

namespace vk930 {

// Opens the link of a port. A null link means the port reaches nothing (Connect fails);
// an error is a configuration fault that is reported through the error sink.
using LinkOpener = std::function<Result<std::unique_ptr<CLinkCtrl>>(Short port)>;
using LinkErrorSink = std::function<void(const std::string& message)>;

class PortRouter : public CLinkCtrl {
  public:
    PortRouter(LinkOpener opener, LinkErrorSink onError)
        : opener_(std::move(opener)), onError_(std::move(onError)) {}

    bool Connect(Short port, Short baud) override;
    Short ReadInfo() override { return current_ ? current_->ReadInfo() : 0; }
    Short GetDeviceType() override { return current_ ? current_->GetDeviceType() : -1; }
    std::string GetVersionText() override { return current_ ? current_->GetVersionText() : ""; }
    std::string GetCommIdText() override { return current_ ? current_->GetCommIdText() : ""; }
    bool ReadPage0(Short first, Short last) override {
        return current_ && current_->ReadPage0(first, last);
    }
    bool ReadPage1(Short first, Short last) override {
        return current_ && current_->ReadPage1(first, last);
    }
    Short GetByte(Short page, Short offset) override {
        return current_ ? current_->GetByte(page, offset) : 0;
    }
    std::string GetText(Short offset, Short page, Short length) override {
        return current_ ? current_->GetText(offset, page, length) : "";
    }
    Short WriteByte(Short offset, Short value, Short page) override {
        return current_ ? current_->WriteByte(offset, value, page) : kWriteByteFailed;
    }
    bool WriteText(Short offset, Short page, const std::string& text) override {
        return current_ && current_->WriteText(offset, page, text);
    }
    void ResetDevice() override {
        if (current_) current_->ResetDevice();
    }
    Short UploadFirmware(const std::string& path) override;
    void SetUploadProgress(UploadProgress progress) override { progress_ = std::move(progress); }
    // With no port open every call fails.
    bool LastCallFailed() const override { return !current_ || current_->LastCallFailed(); }
    std::string LastUploadProblem() const override {
        return current_ ? current_->LastUploadProblem() : "";
    }

    // Drops every opened link (after the configuration changed).
    void Forget();

  private:
    void CloseCurrent();

    LinkOpener opener_;
    LinkErrorSink onError_;
    std::map<Short, std::unique_ptr<CLinkCtrl>> links_;
    CLinkCtrl* current_ = nullptr;
    Short currentPort_ = 0;
    UploadProgress progress_;
};

}  // namespace vk930

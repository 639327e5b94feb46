#pragma once
// Wraps a link and hands one line per call to a trace sink, in the form of trace_line.h.
#include <memory>
#include <string>

#include "core/link/link_ctrl.h"
#include "core/link/trace_line.h"

namespace vk930 {

class TracingLink : public CLinkCtrl {
  public:
    using Sink = TraceSink;
    TracingLink(std::unique_ptr<CLinkCtrl> inner, Sink sink)
        : inner_(std::move(inner)), sink_(std::move(sink)) {}

    bool Connect(Short port, Short baud) override;
    Short ReadInfo() override;
    Short GetDeviceType() override;
    std::string GetVersionText() override;
    std::string GetCommIdText() override;
    bool ReadPage0(Short first, Short last) override;
    bool ReadPage1(Short first, Short last) override;
    Short GetByte(Short page, Short offset) override;
    std::string GetText(Short offset, Short page, Short length) override;
    Short WriteByte(Short offset, Short value, Short page) override;
    bool WriteText(Short offset, Short page, const std::string& text) override;
    void ResetDevice() override;
    Short UploadFirmware(const std::string& path) override;
    void SetUploadProgress(UploadProgress progress) override;
    // A query, not a call on the terminal: not traced.
    bool LastCallFailed() const override { return inner_->LastCallFailed(); }
    const PageCopy* FetchedPages() const override { return inner_->FetchedPages(); }
    std::string LastUploadProblem() const override { return inner_->LastUploadProblem(); }

    CLinkCtrl& Inner() { return *inner_; }

  private:
    void Line(const std::string& line);

    std::unique_ptr<CLinkCtrl> inner_;
    Sink sink_;
};

}  // namespace vk930

#pragma once
// The link the commands talk to: on Connect it opens whatever the chosen COM port reaches
// (a simulated terminal, a serial device, or nothing) and passes every call on unchanged to
// the link of the port last named, open or not: that link decides what its arguments mean
// (port 0, a close of a closed port), and its trace shows every call as the program made it.
// A port's link is kept once opened, so a terminal living in memory stays the same terminal
// from one command to the next.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/base/result.h"
#include "core/link/link_ctrl.h"
#include "core/link/no_terminal_link.h"

namespace vk930 {

// Opens the link of a port. A null link means the port reaches nothing (Connect fails);
// an error is a configuration fault that is reported through the error sink.
using LinkOpener = std::function<Result<std::unique_ptr<CLinkCtrl>>(Short port)>;
using LinkErrorSink = std::function<void(const std::string& message)>;

class PortRouter : public CLinkCtrl {
  public:
    // `bootFiles`: where an upload on a port that reaches nothing looks for the boot file, so
    // that it names a missing file as any other link does.
    PortRouter(LinkOpener opener, LinkErrorSink onError, BootFileLookup bootFiles = {})
        : opener_(std::move(opener)),
          onError_(std::move(onError)),
          nothing_(std::move(bootFiles)) {}

    // Opening (a port above 0, a baud other than 0) opens the port's link first. A close, and
    // any call with port 0, go to the port's own link when it has one, else to the link in use.
    bool Connect(Short port, Short baud) override;
    Short ReadInfo() override { return Target().ReadInfo(); }
    Short GetDeviceType() override { return Target().GetDeviceType(); }
    std::string GetVersionText() override { return Target().GetVersionText(); }
    std::string GetCommIdText() override { return Target().GetCommIdText(); }
    bool ReadPage0(Short first, Short last) override { return Target().ReadPage0(first, last); }
    bool ReadPage1(Short first, Short last) override { return Target().ReadPage1(first, last); }
    Short GetByte(Short page, Short offset) override { return Target().GetByte(page, offset); }
    std::string GetText(Short offset, Short page, Short length) override {
        return Target().GetText(offset, page, length);
    }
    Short WriteByte(Short offset, Short value, Short page) override {
        return Target().WriteByte(offset, value, page);
    }
    bool WriteText(Short offset, Short page, const std::string& text) override {
        return Target().WriteText(offset, page, text);
    }
    void ResetDevice() override { Target().ResetDevice(); }
    Short UploadFirmware(const std::string& path) override;
    void SetUploadProgress(UploadProgress progress) override { progress_ = std::move(progress); }
    bool LastCallFailed() const override { return Target().LastCallFailed(); }
    std::string LastUploadProblem() const override { return Target().LastUploadProblem(); }
    const PageCopy* FetchedPages() const override { return Target().FetchedPages(); }

    // Drops every opened link (after the configuration changed).
    void Forget();

  private:
    // The link a call goes to: the open one, else the one of the port last named, else none.
    CLinkCtrl& Target() const;
    bool Open(Short port, Short baud);

    LinkOpener opener_;
    LinkErrorSink onError_;
    std::map<Short, std::unique_ptr<CLinkCtrl>> links_;
    CLinkCtrl* current_ = nullptr;  // open
    Short currentPort_ = 0;
    CLinkCtrl* last_ = nullptr;  // the port last named, open or not
    mutable NoTerminalLink nothing_;
    UploadProgress progress_;
};

}  // namespace vk930

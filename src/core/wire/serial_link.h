#pragma once
// The link control over a serial device, speaking the wire protocol (docs/protocol.md).
// Each operation that needs the terminal is one checked request; GetByte and GetText answer
// from the link's copy of the pages, which ReadPage0/ReadPage1 fetch whole. ReadInfo brings
// the device type and version along, and page 0 holds the CommID, so after those the
// identification needs no further request that could fail half-way.
#include <memory>
#include <optional>
#include <string>

#include "core/firmware/upload_procedure.h"
#include "core/link/link_ctrl.h"
#include "core/link/page_copy.h"
#include "core/link/port_router.h"
#include "core/wire/serial_port.h"
#include "core/wire/wire_client.h"

namespace vk930 {

class SerialLink : public CLinkCtrl {
  public:
    // onError hears, in a technician's words, why the device did not open or went away.
    // bootFiles: where firmware uploads look for the boot file.
    explicit SerialLink(std::unique_ptr<SerialPort> port, WireTimings timings = {},
                        LinkErrorSink onError = {}, BootFileLookup bootFiles = {});

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

    // Requests sent, repeats included (for tests and benchmarks).
    int Sends() const { return client_.Sends(); }

  private:
    // One request of the application mode; fails at once unless the port is open at 19200.
    // Notes whether it failed, for LastCallFailed.
    WireAnswer Request(std::uint8_t command, const Bytes& payload = {});
    // Notes the outcome of an operation that needed no request, and passes its result on.
    template <class T>
    T Answered(T result, bool failed) {
        lastFailed_ = failed;
        return result;
    }
    bool ReadPage(int page, Short first, Short last);
    void Report(const std::string& why) const;
    bool Open() const { return baud_ == kBaudApplication; }
    void ForgetTerminal();

    struct Identity {
        Short deviceType = -1;
        std::string version;
    };

    std::unique_ptr<SerialPort> port_;
    WireTimings timings_;
    WireClient client_;
    BootFileLookup bootFiles_;
    PageCopy copy_;

  public:
    const PageCopy* FetchedPages() const override { return &copy_; }
    LinkErrorSink onError_;
    UploadProgress progress_;
    std::string uploadProblem_;
    Short comPort_ = 0;
    Short baud_ = 0;
    std::optional<Identity> identity_;  // from ReadInfo on this connection
    bool commIdInCopy_ = false;         // page 0 fetched on this connection and not written since
    bool lastFailed_ = false;
};

}  // namespace vk930

#include "core/wire/serial_link.h"

#include "core/firmware/boot_loader.h"
#include "core/wire/serial_boot_channel.h"
#include "core/wire/wire_protocol.h"

namespace vk930 {

SerialLink::SerialLink(std::unique_ptr<SerialPort> port, WireTimings timings, LinkErrorSink onError,
                       BootFileLookup bootFiles)
    : port_(std::move(port)),
      timings_(timings),
      client_(*port_, timings),
      bootFiles_(std::move(bootFiles)),
      onError_(std::move(onError)) {}

void SerialLink::Report(const std::string& why) const {
    if (onError_) onError_("COM" + std::to_string(comPort_) + ": " + port_->Name() + ": " + why);
}

void SerialLink::ForgetTerminal() {
    identity_.reset();
    commIdInCopy_ = false;
}

bool SerialLink::Connect(Short port, Short baud) {
    if (baud == kBaudClose || port <= 0) {
        port_->Close();
        baud_ = 0;
        ForgetTerminal();
        return Answered(false, baud != kBaudClose);
    }
    if (baud != kBaudApplication && baud != kBaudBootLoader) return Answered(false, true);
    comPort_ = port;
    if (port_->IsOpen() && baud == baud_) return Answered(true, false);
    const Status opened = port_->IsOpen() ? port_->SetBaud(baud) : port_->Open(baud);
    if (!opened) {
        Report(opened.error());
        port_->Close();
        baud_ = 0;
        return Answered(false, true);
    }
    baud_ = baud;
    client_.Begin(baud);
    ForgetTerminal();
    return Answered(true, false);
}

WireAnswer SerialLink::Request(std::uint8_t command, const Bytes& payload) {
    lastFailed_ = true;
    if (!Open() || !port_->IsOpen()) return WireAnswer::Failed(WireError::kNotOpen);
    WireAnswer answer = client_.Transact(command, payload);
    if (answer.error == WireError::kDeviceLost) {
        Report(ToString(answer.error));
        baud_ = 0;
    }
    lastFailed_ = !answer.ok();
    return answer;
}

Short SerialLink::ReadInfo() {
    identity_.reset();
    const WireAnswer answer = Request(wire::kReadInfo);
    if (!answer.ok() || answer.data.size() < 2) return Answered<Short>(0, true);
    identity_ = Identity{wire::GetInt16(answer.data, 0),
                         std::string(answer.data.begin() + 2, answer.data.end())};
    return kReadInfoAnswered;
}

Short SerialLink::GetDeviceType() {
    if (!Open()) return Answered<Short>(-1, true);
    if (identity_) return Answered(identity_->deviceType, false);
    const WireAnswer answer = Request(wire::kGetDeviceType);
    if (!answer.ok() || answer.data.size() != 2) return Answered<Short>(-1, true);
    return wire::GetInt16(answer.data, 0);
}

std::string SerialLink::GetVersionText() {
    if (!Open()) return Answered(std::string(), true);
    if (identity_) return Answered(identity_->version, false);
    const WireAnswer answer = Request(wire::kGetVersion);
    if (!answer.ok()) return {};
    return std::string(answer.data.begin(), answer.data.end());
}

std::string SerialLink::GetCommIdText() {
    if (!Open()) return Answered(std::string(), true);
    if (commIdInCopy_)
        return Answered(std::to_string(copy_.GetByte(0, 1) * 256 + copy_.GetByte(0, 2)), false);
    const WireAnswer answer = Request(wire::kGetCommId);
    if (!answer.ok() || answer.data.size() != 2) return Answered(std::string(), true);
    return std::to_string(answer.data[0] * 256 + answer.data[1]);
}

bool SerialLink::ReadPage(int page, Short first, Short last) {
    // The terminal sends whole pages only.
    if (first != 0 || last != kPageSize - 1) return Answered(false, true);
    const WireAnswer answer = Request(wire::kReadPage, {static_cast<std::uint8_t>(page)});
    if (!answer.ok() || answer.data.size() != kPageSize) return Answered(false, true);
    PageBytes bytes;
    std::copy(answer.data.begin(), answer.data.end(), bytes.begin());
    copy_.Store(page, bytes);
    if (page == 0) commIdInCopy_ = true;
    return true;
}

Short SerialLink::WriteByte(Short offset, Short value, Short page) {
    if (page == 0) commIdInCopy_ = false;
    Bytes payload;
    wire::PutInt16(payload, page);
    wire::PutInt16(payload, offset);
    wire::PutInt16(payload, value);
    return Request(wire::kWriteByte, payload).ok() ? kWriteByteOk : kWriteByteFailed;
}

bool SerialLink::WriteText(Short offset, Short page, const std::string& text) {
    if (page == 0) commIdInCopy_ = false;
    Bytes payload;
    wire::PutInt16(payload, page);
    wire::PutInt16(payload, offset);
    payload.insert(payload.end(), text.begin(), text.end());
    return Request(wire::kWriteText, payload).ok();
}

void SerialLink::ResetDevice() {
    Request(wire::kReset);
}

Short SerialLink::UploadFirmware(const std::string& path) {
    // The boot loader listens only on a port opened at 4800.
    const bool listening = port_->IsOpen() && baud_ == kBaudBootLoader;
    SerialBootChannel channel(*port_, client_, listening, timings_.boot);
    const Short status = RunUpload(channel, path, bootFiles_, progress_, &uploadProblem_);
    if (listening && !port_->IsOpen()) {
        Report(ToString(WireError::kDeviceLost));
        baud_ = 0;
    }
    return Answered(status, status != kUploadSucceeded);
}

}  // namespace vk930

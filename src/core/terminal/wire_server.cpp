#include "core/terminal/wire_server.h"

#include "core/link/trace_line.h"
#include "core/wire/wire_protocol.h"

namespace vk930 {

namespace {

Bytes Answered(std::uint8_t status) {
    return Bytes{status};
}
Bytes Ok() {
    return Answered(wire::kStatusOk);
}

}  // namespace

std::optional<Frame> WireServer::Answer(const Frame& request) {
    if (!terminal_.Present()) return std::nullopt;
    if (std::optional<Frame> again = memory_.Recall(request)) return again;
    const Frame plain = AnswerMemory::Plain(request);
    return memory_.Remember(plain, Execute(plain.command, plain.payload));
}

void WireServer::Trace(const std::string& line) const {
    if (trace_) trace_(line);
}

Bytes WireServer::Execute(std::uint8_t command, const Bytes& payload) {
    const bool empty = payload.empty();
    switch (command) {
        case wire::kReadInfo:
            return empty ? ReadInfo() : Answered(wire::kStatusMalformed);
        case wire::kGetDeviceType:
            return empty ? DeviceType() : Answered(wire::kStatusMalformed);
        case wire::kGetVersion:
            return empty ? Version() : Answered(wire::kStatusMalformed);
        case wire::kGetCommId:
            return empty ? CommId() : Answered(wire::kStatusMalformed);
        case wire::kReadPage:
            return ReadPage(payload);
        case wire::kWriteByte:
            return WriteByte(payload);
        case wire::kWriteText:
            return WriteText(payload);
        case wire::kReset:
            return empty ? Reset() : Answered(wire::kStatusMalformed);
        default:
            return Answered(wire::kStatusUnknownCommand);
    }
}

Bytes WireServer::ReadInfo() {
    const std::string version = terminal_.Version();
    // A version too long for a frame (a hand-made version file) is refused, not sent broken.
    if (version.size() + 3 > kMaxPayload) return Answered(wire::kStatusRefused);
    Trace(TraceLine("ReadInfo").Returns(1));
    Bytes answer = Ok();
    wire::PutInt16(answer, terminal_.DeviceType());
    answer.insert(answer.end(), version.begin(), version.end());
    return answer;
}

Bytes WireServer::DeviceType() {
    const int type = terminal_.DeviceType();
    Trace(TraceLine("GetDeviceType").Returns(type));
    Bytes answer = Ok();
    wire::PutInt16(answer, type);
    return answer;
}

Bytes WireServer::Version() {
    const std::string version = terminal_.Version();
    if (version.size() + 1 > kMaxPayload) return Answered(wire::kStatusRefused);
    Trace(TraceLine("GetVersionText").ReturnsText(version));
    Bytes answer = Ok();
    answer.insert(answer.end(), version.begin(), version.end());
    return answer;
}

Bytes WireServer::CommId() {
    const PageBytes page = terminal_.Page(0);
    Trace(TraceLine("GetCommIdText").ReturnsText(std::to_string(PageCommId(page))));
    return Bytes{wire::kStatusOk, page[1], page[2]};
}

Bytes WireServer::ReadPage(const Bytes& payload) {
    if (payload.size() != 1) return Answered(wire::kStatusMalformed);
    const int page = payload[0];
    const std::optional<PageBytes> bytes = terminal_.ReadPage(page);
    Trace(TraceLine("ReadPage" + std::to_string(page), {0, kPageSize - 1}).Returns(bytes ? 1 : 0));
    if (!bytes) return Answered(wire::kStatusRefused);
    Bytes answer = Ok();
    answer.insert(answer.end(), bytes->begin(), bytes->end());
    return answer;
}

Bytes WireServer::WriteByte(const Bytes& payload) {
    if (payload.size() != 6) return Answered(wire::kStatusMalformed);
    const int page = wire::GetInt16(payload, 0);
    const int offset = wire::GetInt16(payload, 2);
    const int value = wire::GetInt16(payload, 4);
    const bool done = terminal_.WriteByte(page, offset, value);
    Trace(TraceLine("WriteByte", {offset, value, page})
              .Returns(done ? kWriteByteOk : kWriteByteFailed));
    return Answered(done ? wire::kStatusOk : wire::kStatusRefused);
}

Bytes WireServer::WriteText(const Bytes& payload) {
    if (payload.size() < 4) return Answered(wire::kStatusMalformed);
    const int page = wire::GetInt16(payload, 0);
    const int offset = wire::GetInt16(payload, 2);
    const std::string text(payload.begin() + 4, payload.end());
    const bool done = terminal_.WriteText(page, offset, text);
    Trace(TraceLine("WriteText", {offset, page}).Text(text).Returns(done ? 1 : 0));
    return Answered(done ? wire::kStatusOk : wire::kStatusRefused);
}

Bytes WireServer::Reset() {
    if (!terminal_.Reset()) return Answered(wire::kStatusRefused);
    Trace(TraceLine("ResetDevice").Done());
    return Ok();
}

}  // namespace vk930

#include "core/wire/wire_client.h"

#include "core/wire/wire_protocol.h"

namespace vk930 {

namespace {

bool WorthRepeating(WireError error) {
    return error == WireError::kNoAnswer || error == WireError::kBadAnswer;
}

WireAnswer Interpret(const Frame& frame) {
    if (frame.payload.empty()) return WireAnswer::Failed(WireError::kBadAnswer);
    WireAnswer answer;
    answer.status = frame.payload[0];
    if (answer.status != wire::kStatusOk) {
        answer.error = WireError::kRefused;
        return answer;
    }
    answer.data.assign(frame.payload.begin() + 1, frame.payload.end());
    return answer;
}

}  // namespace

std::string ToString(WireError error) {
    switch (error) {
        case WireError::kNone:
            return "no error";
        case WireError::kNotOpen:
            return "the port is not open";
        case WireError::kTooLong:
            return "the request is too long for a frame";
        case WireError::kNoAnswer:
            return "the terminal does not answer";
        case WireError::kBadAnswer:
            return "the terminal's answers arrive damaged";
        case WireError::kRefused:
            return "the terminal refused the request";
        case WireError::kDeviceLost:
            return "the serial device failed or was unplugged";
    }
    return "unknown error";
}

void WireClient::Begin(int baud) {
    baud_ = baud;
    silent_ = false;
    reader_.Reset();
}

std::uint8_t WireClient::NextSeq() {
    return seq_++;
}

Millis WireClient::AnswerTimeout() const {
    return timings_.AnswerTimeout(baud_);
}

WireAnswer WireClient::Transact(std::uint8_t command, const Bytes& payload, Millis extra) {
    if (!port_.IsOpen()) return WireAnswer::Failed(WireError::kNotOpen);
    if (payload.size() > kMaxPayload) return WireAnswer::Failed(WireError::kTooLong);
    const std::uint8_t seq = NextSeq();
    const Bytes first = EncodeFrame({seq, command, payload});
    const Bytes repeat =
        EncodeFrame({seq, static_cast<std::uint8_t>(command | wire::kRepeatFlag), payload});
    const int attempts = silent_ ? kAttemptsWhileSilent : timings_.attempts;
    WireAnswer answer;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        answer = Attempt(attempt == 0 ? first : repeat, seq, command, extra);
        if (!WorthRepeating(answer.error)) break;
    }
    silent_ = answer.error == WireError::kNoAnswer;
    if (answer.error == WireError::kDeviceLost) port_.Close();
    return answer;
}

WireAnswer WireClient::Attempt(const Bytes& request, std::uint8_t seq, std::uint8_t command,
                               Millis extra) {
    port_.DiscardInput();
    reader_.Reset();
    ++sends_;
    if (!port_.Write(request)) return WireAnswer::Failed(WireError::kDeviceLost);
    return AwaitAnswer(seq, command, extra);
}

WireAnswer WireClient::AwaitAnswer(std::uint8_t seq, std::uint8_t command, Millis extra) {
    const Millis deadline = port_.Now() + AnswerTimeout() + extra;
    const std::uint8_t expected = command | wire::kAnswerFlag;
    for (;;) {
        while (std::optional<Frame> frame = reader_.Next()) {
            // A late answer to an earlier request is not this one's.
            if (frame->seq == seq && frame->command == expected) return Interpret(*frame);
        }
        // A damaged answer and nothing else on the way: ask again at once.
        if (reader_.BadFrames() > 0 && !reader_.Pending())
            return WireAnswer::Failed(WireError::kBadAnswer);
        const Millis now = port_.Now();
        if (now >= deadline) return WireAnswer::Failed(WireError::kNoAnswer);
        Result<Bytes> received = port_.Read(deadline - now);
        if (!received) return WireAnswer::Failed(WireError::kDeviceLost);
        reader_.Feed(*received);
    }
}

}  // namespace vk930

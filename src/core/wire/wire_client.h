#pragma once
// The checked transaction of the wire protocol: one request, one answer, within a time-out;
// a request whose answer is lost or damaged is sent again, marked as a repeat with the same
// sequence number, so that the terminal answers it from memory instead of doing it twice.
#include <cstdint>
#include <string>

#include "core/wire/boot_wire.h"
#include "core/wire/serial_port.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

// The answer time allowed beyond the line time of the longest frame at the current baud.
inline constexpr Millis kAnswerTurnaround{250};
// Sends of one request before it fails (the first and two repeats).
inline constexpr int kRequestAttempts = 3;
// Once a request went unanswered every time, later requests are sent once only until the
// terminal answers again, so that a silent terminal costs one time-out per call.
inline constexpr int kAttemptsWhileSilent = 1;

// The waits and repeats of the link, the named constants by default. Tests and the fault
// matrix inject shorter ones; a pseudo-terminal without pacing has no line time to allow for.
struct WireTimings {
    Millis turnaround = kAnswerTurnaround;
    // The answer time-out allows the line time of a frame of this many bytes.
    std::size_t lineBytes = kMaxFrameSize;
    int attempts = kRequestAttempts;
    boot::Timings boot;  // the boot loader's waits

    // How long one send of a request waits for its answer at `baud`, beyond `extra`.
    Millis AnswerTimeout(int baud) const { return turnaround + LineTime(lineBytes, baud); }
};

enum class WireError {
    kNone,
    kNotOpen,     // the port is not open
    kTooLong,     // the request does not fit a frame
    kNoAnswer,    // nothing valid came within the time-out, every time
    kBadAnswer,   // answers came damaged (bad CRC, no status), every time
    kRefused,     // the terminal answered with a failure status
    kDeviceLost,  // the device failed or disappeared; the port is closed
};

std::string ToString(WireError error);

struct WireAnswer {
    WireError error = WireError::kNone;
    std::uint8_t status = 0;  // the terminal's status when refused
    Bytes data;               // the answer's payload after its status byte
    bool ok() const { return error == WireError::kNone; }
    static WireAnswer Failed(WireError why) { return WireAnswer{why, 0, {}}; }
};

class WireClient {
  public:
    WireClient(SerialPort& port, WireTimings timings) : port_(port), timings_(timings) {}

    // Starts a conversation on a freshly opened port at `baud`.
    void Begin(int baud);
    void SetBaud(int baud) { baud_ = baud; }
    // `extra`: time the terminal needs to carry the request out (an erase), beyond the usual.
    WireAnswer Transact(std::uint8_t command, const Bytes& payload, Millis extra = Millis(0));

    // Sends made so far, the repeats included.
    int Sends() const { return sends_; }

  private:
    std::uint8_t NextSeq();
    Millis AnswerTimeout() const;
    WireAnswer Attempt(const Bytes& request, std::uint8_t seq, std::uint8_t command, Millis extra);
    WireAnswer AwaitAnswer(std::uint8_t seq, std::uint8_t command, Millis extra);

    SerialPort& port_;
    WireTimings timings_;
    FrameReader reader_;
    int baud_ = 0;
    std::uint8_t seq_ = 0;
    bool silent_ = false;
    int sends_ = 0;
};

}  // namespace vk930

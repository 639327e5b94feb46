#pragma once
// The terminal's side of the application mode (docs/protocol.md): does each request on the
// terminal model and answers it. A request sent again as a repeat (its answer was lost) is
// answered from memory when it is the one done last, so it is never done twice.
#include <functional>
#include <optional>
#include <string>

#include "core/terminal/answer_memory.h"
#include "core/terminal/terminal_model.h"
#include "core/wire/wire_frame.h"

namespace vk930 {

class WireServer {
  public:
    // `trace` hears one line per request done, in the link trace's form ("ResetDevice()").
    using TraceSink = std::function<void(const std::string& line)>;
    explicit WireServer(TerminalModel& terminal, TraceSink trace = {})
        : terminal_(terminal), trace_(std::move(trace)) {}

    // The answer to one request; nothing when the terminal is not there to answer.
    std::optional<Frame> Answer(const Frame& request);

  private:
    // The answer's payload: status, then data.
    Bytes Execute(std::uint8_t command, const Bytes& payload);
    Bytes ReadInfo();
    Bytes DeviceType();
    Bytes Version();
    Bytes CommId();
    Bytes ReadPage(const Bytes& payload);
    Bytes WriteByte(const Bytes& payload);
    Bytes WriteText(const Bytes& payload);
    Bytes Reset();
    void Trace(const std::string& line) const;

    TerminalModel& terminal_;
    TraceSink trace_;
    AnswerMemory memory_;
};

}  // namespace vk930

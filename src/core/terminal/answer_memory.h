#pragma once
// The terminal's memory of the request it did last and its answer, so that a request the
// host repeats (its answer was lost or damaged) is answered again instead of done twice.
#include <optional>

#include "core/wire/wire_frame.h"
#include "core/wire/wire_protocol.h"

namespace vk930 {

class AnswerMemory {
  public:
    // The request without its repeat flag.
    static Frame Plain(const Frame& request) {
        Frame plain = request;
        plain.command &= wire::kCommandMask;
        return plain;
    }
    // The answer to give again: only to a repeat of the request done last.
    std::optional<Frame> Recall(const Frame& request) const {
        if (!(request.command & wire::kRepeatFlag) || lastRequest_ != Plain(request)) return {};
        return lastAnswer_;
    }
    // Answers a request with the status and data it was done with.
    Frame Remember(const Frame& request, Bytes answerPayload) {
        lastRequest_ = Plain(request);
        lastAnswer_ =
            Frame{request.seq, static_cast<std::uint8_t>(lastRequest_->command | wire::kAnswerFlag),
                  std::move(answerPayload)};
        return lastAnswer_;
    }
    void Forget() { lastRequest_.reset(); }

  private:
    std::optional<Frame> lastRequest_;
    Frame lastAnswer_;
};

}  // namespace vk930

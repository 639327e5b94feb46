#include "core/terminal/wire_terminal.h"

namespace vk930 {

WireOutput WireTerminal::Receive(std::span<const std::uint8_t> bytes) {
    return gate_->Serve(reader_, bytes,
                        [this](const Frame& request) { return server_.Answer(request); });
}

}  // namespace vk930

#include "link/command_steps.h"

namespace vk930 {

std::string PortLabel(int port) { return "COM" + std::to_string(port) + "..."; }

void ClosePort(const CommandContext& ctx) { ctx.link.Connect(ctx.Port(), kBaudClose); }

bool OpenPortOrReport(const CommandContext& ctx) {
    if (ctx.link.Connect(ctx.Port(), kBaudApplication)) return true;
    ctx.Log("Cannot open COM" + std::to_string(ctx.state.comPort), kIconFailure);
    ctx.host.Beep();
    return false;
}

bool CheckReadInfo(const CommandContext& ctx) {
    if (ctx.link.ReadInfo() == kReadInfoAnswered) return true;
    ctx.Log("Connection Failure", kIconFailure);
    ctx.Log("Cannot Read Info from COM" + std::to_string(ctx.state.comPort), kIconFailure);
    ClosePort(ctx);
    ctx.host.Beep();
    return false;
}

}  // namespace vk930

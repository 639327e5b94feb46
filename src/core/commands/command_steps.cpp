#include "core/commands/command_steps.h"

namespace vk930 {

std::string PortLabel(int port) {
    return "COM" + std::to_string(port) + "...";
}

void ClosePort(const CommandContext& ctx) {
    ctx.link.Connect(ctx.Port(), kBaudClose);
}

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

bool ConnectOrReportUnavailable(const CommandContext& ctx) {
    const std::string label = PortLabel(ctx.state.comPort);
    if (!ctx.link.Connect(ctx.Port(), kBaudApplication)) {
        ctx.Log(label + " not available!", kIconFailure);
        ctx.host.Beep();
        return false;
    }
    ctx.Log("Connected to " + label, kIconSuccess);
    return true;
}

bool ReadInfoAfterWait(const CommandContext& ctx) {
    constexpr int kTerminalWaitMs = 300;
    ctx.Log("Reading Device type...", kIconProgress);
    ctx.host.Sleep(kTerminalWaitMs);
    if (!CheckReadInfo(ctx)) return false;
    ctx.Log("Reading Info OK", kIconProgress);
    return true;
}

bool CheckDeviceType(const CommandContext& ctx) {
    if (ctx.link.GetDeviceType() == kDeviceTypeHandTerminal) return true;
    ctx.Log("Connection Failure", kIconFailure);
    ctx.Log("Cannot Read device from COM" + std::to_string(ctx.state.comPort), kIconFailure);
    return false;
}

bool ConnectAndIdentify(const CommandContext& ctx) {
    if (!ConnectOrReportUnavailable(ctx) || !ReadInfoAfterWait(ctx)) return false;
    if (CheckDeviceType(ctx)) return true;
    ClosePort(ctx);
    ctx.host.Beep();
    return false;
}

bool FetchBothPages(const CommandContext& ctx) {
    ctx.Log("Reading eeprom Page:0...", kIconProgress);
    if (!ctx.link.ReadPage0(0, 255)) {
        ctx.Log("Connection Failure", kIconFailure);
        ClosePort(ctx);
        ctx.host.Beep();
        return false;
    }
    ctx.Log("Reading eeprom Page:1...", kIconProgress);
    if (!ctx.link.ReadPage1(0, 255)) {
        ctx.Log("Connection Failure", kIconFailure);
        ClosePort(ctx);
        return false;
    }
    return true;
}

}  // namespace vk930

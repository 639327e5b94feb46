#include "core/commands/command_steps.h"

namespace vk930 {

namespace {

std::string PortNumber(const CommandContext& ctx) {
    return std::to_string(ctx.state.comPort);
}

Outcome NoTerminal(const CommandContext& ctx) {
    return Outcome::Failure(OutcomeClass::kNoTerminal,
                            "nothing answered ReadInfo on COM" + PortNumber(ctx));
}

}  // namespace

std::string PortLabel(int port) {
    return "COM" + std::to_string(port) + "...";
}

void ClosePort(const CommandContext& ctx) {
    ctx.link.Connect(ctx.Port(), kBaudClose);
}

Outcome OpenPortOrReport(const CommandContext& ctx) {
    if (ctx.link.Connect(ctx.Port(), kBaudApplication)) return Outcome::Success();
    ctx.Log("Cannot open COM" + PortNumber(ctx), kIconFailure);
    ctx.host.Beep();
    return Outcome::Failure(OutcomeClass::kPortNotOpened,
                            "COM" + PortNumber(ctx) + " did not open");
}

Outcome CheckReadInfo(const CommandContext& ctx) {
    if (ctx.link.ReadInfo() == kReadInfoAnswered) return Outcome::Success();
    ctx.Log("Connection Failure", kIconFailure);
    ctx.Log("Cannot Read Info from COM" + PortNumber(ctx), kIconFailure);
    ClosePort(ctx);
    ctx.host.Beep();
    return NoTerminal(ctx);
}

Outcome OpenAndSearch(const CommandContext& ctx, TerminalLeft left) {
    if (Outcome opened = OpenPortOrReport(ctx); !opened.ok()) return opened;
    ctx.Log("Open COM" + PortNumber(ctx), kIconProgress);
    ctx.Log("Searching VK930 device..", kIconProgress);
    if (Outcome stopped = StopPoint(ctx, left); !stopped.ok()) return stopped;
    if (Outcome answered = CheckReadInfo(ctx); !answered.ok()) return answered;
    ctx.Log("Reading Info OK", kIconProgress);
    return Outcome::Success();
}

Outcome ConnectOrReportUnavailable(const CommandContext& ctx) {
    const std::string label = PortLabel(ctx.state.comPort);
    if (!ctx.link.Connect(ctx.Port(), kBaudApplication)) {
        ctx.Log(label + " not available!", kIconFailure);
        ctx.host.Beep();
        return Outcome::Failure(OutcomeClass::kPortNotOpened,
                                "COM" + PortNumber(ctx) + " did not open");
    }
    // The green tick of an opened connection, not the command's success.
    ctx.Log("Connected to " + label, kIconSuccess, EntrySeverity::kProgress);
    return Outcome::Success();
}

Outcome ReadInfoAfterWait(const CommandContext& ctx) {
    ctx.Log("Reading Device type...", kIconProgress);
    ctx.host.Sleep(kTerminalWaitMs);
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kUntouched); !stopped.ok()) return stopped;
    if (Outcome answered = CheckReadInfo(ctx); !answered.ok()) return answered;
    ctx.Log("Reading Info OK", kIconProgress);
    return Outcome::Success();
}

Outcome CheckDeviceType(const CommandContext& ctx) {
    const Short type = ctx.link.GetDeviceType();
    ctx.DeviceTypeRead(type);
    if (type == kDeviceTypeHandTerminal) return Outcome::Success();
    ctx.Log("Connection Failure", kIconFailure);
    ctx.Log("Cannot Read device from COM" + PortNumber(ctx), kIconFailure);
    return Outcome::Failure(OutcomeClass::kOtherDevice, "the device on COM" + PortNumber(ctx) +
                                                            " reports type " +
                                                            std::to_string(type) + ", not 6");
}

Outcome ConnectAndIdentify(const CommandContext& ctx) {
    if (Outcome connected = ConnectOrReportUnavailable(ctx); !connected.ok()) return connected;
    if (Outcome answered = ReadInfoAfterWait(ctx); !answered.ok()) return answered;
    Outcome type = CheckDeviceType(ctx);
    if (type.ok()) return type;
    ClosePort(ctx);
    ctx.host.Beep();
    return type;
}

Outcome FetchBothPages(const CommandContext& ctx) {
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kUntouched); !stopped.ok()) return stopped;
    ctx.Log("Reading eeprom Page:0...", kIconProgress);
    if (!ctx.link.ReadPage0(0, 255)) {
        ctx.Log("Connection Failure", kIconFailure);
        ClosePort(ctx);
        ctx.host.Beep();
        return Outcome::Failure(OutcomeClass::kCommunication, "page 0 was not read");
    }
    if (Outcome stopped = StopPoint(ctx, TerminalLeft::kUntouched); !stopped.ok()) return stopped;
    ctx.Log("Reading eeprom Page:1...", kIconProgress);
    if (!ctx.link.ReadPage1(0, 255)) {
        ctx.Log("Connection Failure", kIconFailure);
        ClosePort(ctx);
        return Outcome::Failure(OutcomeClass::kCommunication, "page 1 was not read");
    }
    return Outcome::Success();
}

const char* InterruptedText(TerminalLeft left) {
    switch (left) {
        case TerminalLeft::kUntouched:
            return "Interrupted: nothing was written";
        case TerminalLeft::kPartlyProgrammed:
            return "Interrupted: the terminal is partly programmed";
        case TerminalLeft::kInBootLoader:
            return "Interrupted: the terminal is still in its boot loader: restart the upload";
    }
    return "Interrupted";
}

Outcome Interrupt(const CommandContext& ctx, TerminalLeft left) {
    const std::string text = InterruptedText(left);
    ctx.Log(text, kIconFailure, EntrySeverity::kCancellation);
    ClosePort(ctx);
    // The detail is the entry without its "Interrupted: " head.
    return Outcome::Failure(OutcomeClass::kInterrupted, text.substr(text.find(": ") + 2));
}

Outcome StopPoint(const CommandContext& ctx, TerminalLeft left) {
    return ctx.StopRequested() ? Interrupt(ctx, left) : Outcome::Success();
}

}  // namespace vk930

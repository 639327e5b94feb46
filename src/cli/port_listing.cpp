#include "cli/port_listing.h"

#include "cli/cli_commands.h"
#include "cli/json_events.h"
#include "core/base/printable_text.h"
#include "platform/json_text.h"
#include "platform/link_factory.h"
#include "platform/port_assignment.h"

namespace vk930 {

namespace {

std::string ReachNote(const PortReach& reach) {
    switch (reach.kind) {
        case PortReach::Kind::kBad:
            return "bad link spec: " + reach.problem;
        case PortReach::Kind::kDevice:
            if (!reach.present && !reach.problem.empty()) return "missing; " + reach.problem;
            break;
        default:
            break;
    }
    return ReachState(reach);
}

std::optional<int> PortNumber(const QString& text) {
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > kPortCount) return std::nullopt;
    return port;
}

CommandResult Assign(CliSession& session, int port, const std::string& text) {
    const Result<Assignment> assignment = PrepareAssignment(text, ByIdNames());
    if (!assignment)
        return CommandResult::Usage("ports --assign " + std::to_string(port) + ": " +
                                    assignment.error());
    for (const std::string& warning : assignment.value().warnings)
        session.host.Note("warning: " + warning);
    const std::string& spec = assignment.value().spec;
    if (Status written = WriteAssignment(session.settings, port, spec); !written) {
        session.host.Note("ports: " + written.error());
        return CommandResult::Ran(Outcome::Failure(OutcomeClass::kFile, written.error()));
    }
    if (session.host.Json())
        session.host.Emit(JsonEvent("assigned", {{"comPort", port}, {"spec", JsonText(spec)}}));
    else
        session.host.Print("COM" + std::to_string(port) + "  " + PrintableText(spec) + "\n");
    if (session.linkOverride)
        session.host.Note("warning: --link overrides Device" + std::to_string(port) +
                          " in this run");
    return CommandResult::Ran(Outcome::Success());
}

}  // namespace

std::string ListSerialPorts(const std::vector<SerialDevice>& devices) {
    std::string text = "Serial ports present:\n";
    if (devices.empty()) return text + "  (none found)\n";
    for (const SerialDevice& device : devices) {
        // A USB device names itself: its texts are escaped like any other.
        text +=
            "  " + PrintableText(device.path) + "  " +
            (device.description.empty() ? "(no description)" : PrintableText(device.description));
        if (!device.usbIds.empty()) text += "  USB " + device.usbIds;
        if (!device.byId.empty()) text += "  " + PrintableText(device.byId);
        text += '\n';
    }
    return text;
}

namespace {

QJsonObject DeviceEvent(const SerialDevice& device) {
    return JsonEvent("device", {{"path", JsonText(device.path)},
                                {"byId", JsonText(device.byId)},
                                {"description", JsonText(device.description)},
                                {"usbIds", JsonText(device.usbIds)}});
}

QJsonObject ComPortEvent(CliSession& session, int port) {
    const PortReach reach = DescribePortReach(port, session.linkOverride, session.settings);
    return JsonEvent("comport", {{"comPort", port},
                                 {"current", port == session.state.comPort},
                                 {"spec", JsonText(reach.spec)},
                                 {"state", JsonText(ReachState(reach))},
                                 {"note", JsonText(ReachNote(reach))}});
}

void EmitPorts(CliSession& session) {
    const std::vector<SerialDevice> devices = SerialDevicesPresent();
    for (const SerialDevice& device : devices) session.host.Emit(DeviceEvent(device));
    for (int port = 1; port <= kPortCount; ++port) session.host.Emit(ComPortEvent(session, port));
    session.host.Emit(
        JsonEvent("summary", {{"count", static_cast<int>(devices.size()) + kPortCount},
                              {"devices", static_cast<int>(devices.size())},
                              {"comPorts", kPortCount}}));
}

}  // namespace

std::string ListComPorts(CliSession& session) {
    std::string text = "COM ports reach (* the current one):\n";
    for (int port = 1; port <= kPortCount; ++port) {
        const PortReach reach = DescribePortReach(port, session.linkOverride, session.settings);
        text += (port == session.state.comPort ? "* COM" : "  COM") + std::to_string(port) + "  " +
                PrintableText(reach.spec) + "  (" + PrintableText(ReachNote(reach)) + ")\n";
    }
    return text;
}

CommandResult RunPorts(CliSession& session, const QStringList& args) {
    if (args.isEmpty()) {
        if (session.host.Json())
            EmitPorts(session);
        else
            session.host.Print(ListSerialPorts(SerialDevicesPresent()) + ListComPorts(session));
        return CommandResult::Ran(Outcome::Success());
    }
    if (args[0] == "--assign" && args.size() == 3) {
        if (const std::optional<int> port = PortNumber(args[1]))
            return Assign(session, *port, args[2].toStdString());
    } else if (args[0] == "--unassign" && args.size() == 2) {
        if (const std::optional<int> port = PortNumber(args[1]))
            return Assign(session, *port, "none");
    }
    return CommandResult::Usage(
        "ports takes nothing, --assign N SPEC or --unassign N (N a COM port number 1 to 8)");
}

}  // namespace vk930

#include "cli/port_listing.h"

#include <iostream>

#include "cli/cli_commands.h"
#include "core/base/printable_text.h"
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
        std::cerr << "vk930ctl: warning: " << warning << '\n';
    if (Status written = WriteAssignment(session.settings, port, assignment.value().spec);
        !written) {
        std::cerr << "vk930ctl: ports: " << written.error() << '\n';
        return CommandResult::Ran(Outcome::Failure(OutcomeClass::kFile, written.error()));
    }
    std::cout << "COM" << port << "  " << assignment.value().spec << '\n';
    if (session.linkOverride)
        std::cerr << "vk930ctl: warning: --link overrides Device" << port << " in this run\n";
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
        std::cout << ListSerialPorts(SerialDevicesPresent()) << ListComPorts(session) << std::flush;
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

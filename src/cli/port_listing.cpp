#include "cli/port_listing.h"

#include <QSerialPortInfo>
#include <iostream>

#include "cli/cli_commands.h"
#include "platform/link_factory.h"

namespace vk930 {

namespace {

std::string UsbIds(const QSerialPortInfo& info) {
    if (!info.hasVendorIdentifier() || !info.hasProductIdentifier()) return {};
    return QString("  USB %1:%2")
        .arg(info.vendorIdentifier(), 4, 16, QChar('0'))
        .arg(info.productIdentifier(), 4, 16, QChar('0'))
        .toStdString();
}

}  // namespace

std::string ListSerialPorts() {
    std::string text = "Serial ports present:\n";
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty()) return text + "  (none found)\n";
    for (const QSerialPortInfo& info : ports) {
        const QString description =
            info.description().isEmpty() ? QString("(no description)") : info.description();
        text += "  " + info.systemLocation().toStdString() + "  " + description.toStdString() +
                UsbIds(info) + "\n";
    }
    return text;
}

std::string ListComPorts(CliSession& session) {
    std::string text = "COM ports reach:\n";
    for (int port = 1; port <= kPortCount; ++port)
        text += "  COM" + std::to_string(port) + "  " +
                DeviceSpecFor(port, session.linkOverride, session.settings) + "\n";
    return text;
}

CommandResult RunPorts(CliSession& session, const QStringList& args) {
    if (!args.isEmpty()) return CommandResult::Usage("ports takes no arguments");
    std::cout << ListSerialPorts() << ListComPorts(session) << std::flush;
    return CommandResult::Ran(Outcome::Success());
}

}  // namespace vk930

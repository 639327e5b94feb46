#include "window/port_text.h"

#include "core/link/link_ctrl.h"
#include "core/terminal/link_spec.h"
#include "platform/link_factory.h"
#include "window/text.h"

namespace vk930 {

QString PortReachText(int port, const std::string& spec) {
    const QString label = QStringLiteral("COM%1: ").arg(port);
    const Result<LinkSpec> parsed = ParseLinkSpec(spec);
    if (!parsed) return label + ToQ(spec) + QStringLiteral(" (") + ToQ(parsed.error()) + ")";
    switch (parsed.value().kind) {
        case LinkSpec::Kind::kSim:
            return label + QStringLiteral("simulated terminal");
        case LinkSpec::Kind::kNone:
            return label + QStringLiteral("nothing configured");
        case LinkSpec::Kind::kDevice:
            break;
    }
    return label + ToQ(parsed.value().devicePath) +
           QStringLiteral(", %1 8N1").arg(static_cast<int>(kBaudApplication));
}

QString PortReachText(int port, const std::optional<std::string>& linkOverride,
                      SettingsBackendFactory& settings) {
    if (port < 1 || port > kPortCount) return QStringLiteral("No COM port chosen");
    return PortReachText(port, DeviceSpecFor(port, linkOverride, settings));
}

}  // namespace vk930

// The link control's place: reach, progress and countdown texts.
#include "core/app/link_place_text.h"

#include "core/commands/progress.h"
#include "core/link/com_port_names.h"
#include "core/link/link_ctrl.h"
#include "core/terminal/link_spec.h"

namespace vk930 {

SpecReach ReachOfSpec(const std::string& spec) {
    SpecReach reach;
    const Result<LinkSpec> parsed = ParseLinkSpec(spec);
    if (!parsed) {
        reach.kind = SpecReach::Kind::kBad;
        reach.problem = parsed.error();
        return reach;
    }
    switch (parsed.value().kind) {
        case LinkSpec::Kind::kSim:
            reach.kind = SpecReach::Kind::kSim;
            break;
        case LinkSpec::Kind::kNone:
            reach.kind = SpecReach::Kind::kNone;
            break;
        case LinkSpec::Kind::kDevice:
            reach.kind = SpecReach::Kind::kDevice;
            reach.devicePath = parsed.value().devicePath;
            break;
    }
    return reach;
}

std::string PortReachText(int port, const std::string& spec) {
    if (!IsComPort(port)) return "No COM port chosen";
    const std::string label = "COM" + std::to_string(port) + ": ";
    const SpecReach reach = ReachOfSpec(spec);
    switch (reach.kind) {
        case SpecReach::Kind::kBad:
            return label + spec + " (" + reach.problem + ")";
        case SpecReach::Kind::kSim:
            return label + "simulated terminal";
        case SpecReach::Kind::kNone:
            return label + "nothing configured";
        case SpecReach::Kind::kDevice:
            break;
    }
    return label + reach.devicePath + ", " + std::to_string(kBaudApplication) + " 8N1";
}

std::string UploadProgressText(std::size_t sent, std::size_t total,
                               std::chrono::milliseconds sinceFirstReport) {
    return "Firmware: " + std::to_string(sent) + "/" + std::to_string(total) + " bytes, " +
           TimeLeftText(sent, total, sinceFirstReport) + " left";
}

std::string LinesProgressText(std::size_t applied) {
    return "Set: " + std::to_string(applied) + " lines applied";
}

std::string CountdownText(std::chrono::milliseconds left) {
    const long long ms = left.count() > 0 ? left.count() : 0;
    return "Terminal restarting: " + std::to_string((ms + 999) / 1000) + " s";
}

}  // namespace vk930

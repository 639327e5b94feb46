#include "core/terminal/link_spec.h"

#include <charconv>
#include <limits>
#include <vector>

namespace vk930 {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// A whole decimal number within [low, high], nothing else.
bool ParseNumber(std::string_view text, int low, int high, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (value < low || value > high) return false;
    out = value;
    return true;
}

bool ParseBootFault(std::string_view text, BootFault& out) {
    static const std::pair<std::string_view, BootFault> kNames[] = {
        {"no00", BootFault::kNo00},     {"noAA", BootFault::kNoAA},
        {"stage1", BootFault::kStage1}, {"stage2", BootFault::kStage2},
        {"stage3", BootFault::kStage3}, {"verify", BootFault::kVerify}};
    for (const auto& [name, fault] : kNames) {
        if (text == name) {
            out = fault;
            return true;
        }
    }
    return false;
}

Status ApplyFailOption(std::string_view value, TerminalFaults& faults) {
    if (value == "page0") {
        faults.failPage[0] = true;
    } else if (value == "page1") {
        faults.failPage[1] = true;
    } else if (value == "reset") {
        faults.failReset = true;
    } else if (value.starts_with("write:")) {
        if (!ParseNumber(value.substr(6), 1, std::numeric_limits<int>::max(), faults.failWriteAt))
            return Error{"fail=write:N needs a count N of 1 or more"};
    } else if (value.starts_with("text:")) {
        if (!ParseNumber(value.substr(5), 1, std::numeric_limits<int>::max(), faults.failTextAt))
            return Error{"fail=text:N needs a count N of 1 or more"};
    } else if (value.starts_with("lose:")) {
        if (!ParseNumber(value.substr(5), 1, std::numeric_limits<int>::max(), faults.loseWriteAt))
            return Error{"fail=lose:N needs a count N of 1 or more"};
    } else {
        return Error{"unknown fail= value '" + std::string(value) +
                     "' (page0, page1, reset, write:N, text:N or lose:N)"};
    }
    return {};
}

Status ApplyCountOption(std::string_view name, std::string_view value, int& out) {
    if (!ParseNumber(value, 1, std::numeric_limits<int>::max(), out))
        return Error{std::string(name) + "=N needs a request count N of 1 or more"};
    return {};
}

Status ApplyDelayOption(std::string_view name, std::string_view value, int& out) {
    if (!ParseNumber(value, 0, 3600 * 1000, out))
        return Error{std::string(name) + "=MS needs a delay in milliseconds from 0 to 3600000"};
    return {};
}

Status ApplyOption(std::string_view option, TerminalSpec& spec) {
    const size_t equals = option.find('=');
    const std::string_view name = option.substr(0, equals);
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? option.substr(equals + 1) : std::string_view{};
    auto needsValue = [&]() -> Status {
        if (!hasValue || value.empty())
            return Error{"option '" + std::string(name) + "' needs a value"};
        return {};
    };
    auto takesNoValue = [&]() -> Status {
        if (hasValue) return Error{"option '" + std::string(name) + "' takes no value"};
        return {};
    };
    if (name == "absent") {
        if (auto s = takesNoValue(); !s) return s;
        spec.absent = true;
    } else if (name == "junk") {
        if (auto s = takesNoValue(); !s) return s;
        spec.wire.junk = true;
    } else if (name == "type") {
        if (!hasValue || !ParseNumber(value, -32768, 32767, spec.deviceType))
            return Error{"type=N needs a number from -32768 to 32767"};
    } else if (name == "version") {
        if (auto s = needsValue(); !s) return s;
        if (value.size() > kMaxVersionLength)
            return Error{"version=TEXT takes at most " + std::to_string(kMaxVersionLength) +
                         " characters"};
        spec.version = std::string(value);
    } else if (name == "trace") {
        if (auto s = needsValue(); !s) return s;
        spec.traceFile = std::string(value);
    } else if (name == "fail") {
        return ApplyFailOption(value, spec.faults);
    } else if (name == "boot") {
        if (!ParseBootFault(value, spec.faults.boot))
            return Error{"unknown boot= value '" + std::string(value) +
                         "' (no00, noAA, stage1, stage2, stage3 or verify)"};
    } else if (name == "corrupt") {
        return ApplyCountOption(name, value, spec.wire.corruptAt);
    } else if (name == "drop") {
        return ApplyCountOption(name, value, spec.wire.dropAt);
    } else if (name == "stall") {
        return ApplyCountOption(name, value, spec.wire.stallFrom);
    } else if (name == "hangup") {
        return ApplyCountOption(name, value, spec.wire.hangupAt);
    } else if (name == "series") {
        if (!hasValue || !ParseNumber(value, 1, 100000, spec.series.count))
            return Error{"series=N needs a count of terminals from 1 to 100000"};
    } else if (name == "remove") {
        return ApplyDelayOption(name, value, spec.series.removeAfterMs);
    } else if (name == "plugin") {
        return ApplyDelayOption(name, value, spec.series.plugInAfterMs);
    } else {
        return Error{"unknown option '" + std::string(name) + "'"};
    }
    return {};
}

Result<LinkSpec> ParseSimSpec(std::string_view text) {
    LinkSpec link;
    link.kind = LinkSpec::Kind::kSim;
    std::string_view rest = text.substr(3);
    const size_t question = rest.find('?');
    const std::string_view head = rest.substr(0, question);
    if (!head.empty()) {
        if (head[0] != ':' || head.size() == 1)
            return Error{"expected sim, sim:STATEFILE or sim?OPTIONS"};
        link.sim.stateFile = std::string(head.substr(1));
    }
    if (question != std::string_view::npos) {
        for (std::string_view option : Split(rest.substr(question + 1), '&')) {
            if (option.empty()) continue;
            if (Status s = ApplyOption(option, link.sim); !s) return Error{s.error()};
        }
    }
    return link;
}

}  // namespace

Result<LinkSpec> ParseLinkSpec(std::string_view text) {
    if (text.empty()) return Error{"link spec is empty"};
    // A NUL would cut a path short where the system takes it.
    if (text.find('\0') != std::string_view::npos) return Error{"link spec holds a NUL byte"};
    if (text == "none") return LinkSpec{};
    if (text == "sim" || text.starts_with("sim:") || text.starts_with("sim?")) {
        Result<LinkSpec> spec = ParseSimSpec(text);
        if (!spec) return Error{"link spec '" + std::string(text) + "': " + spec.error()};
        return spec;
    }
    LinkSpec link;
    link.kind = LinkSpec::Kind::kDevice;
    link.devicePath = std::string(text);
    return link;
}

}  // namespace vk930

#include "core/terminal/sim_factory.h"

#include "core/link/tracing_link.h"
#include "core/terminal/sim_link.h"

namespace vk930 {

Result<std::unique_ptr<CLinkCtrl>> WithTrace(std::unique_ptr<CLinkCtrl> link,
                                             const std::string& traceFile) {
    if (traceFile.empty()) return link;
    // A trace asked for and not written would pass for a run that made no calls.
    Result<TraceSink> sink = OpenTraceFile(traceFile);
    if (!sink) return Error{sink.error()};
    return std::unique_ptr<CLinkCtrl>(
        std::make_unique<TracingLink>(std::move(link), std::move(sink.value())));
}

Result<std::unique_ptr<CLinkCtrl>> MakeSimLink(const TerminalSpec& spec,
                                               const BootFileLookup& bootFiles) {
    Result<std::unique_ptr<TerminalModel>> terminal = TerminalModel::Create(spec);
    if (!terminal) return Error{terminal.error()};
    std::shared_ptr<TerminalModel> shared = std::move(terminal.value());
    return WithTrace(std::make_unique<SimLink>(shared, bootFiles), spec.traceFile);
}

}  // namespace vk930

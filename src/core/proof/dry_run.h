#pragma once
// The dry run of a Set: the Set run itself (OnSetParameters, its reading, checking and
// encoding) against a copy of the pages, on a link that writes into the copy and a host that
// keeps the log to itself. What it wrote is exactly what a Set would write to a terminal
// holding those pages.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/commands/outcome.h"
#include "core/link/page_copy.h"
#include "core/proof/fetched_pages.h"
#include "core/proof/written_bytes.h"
#include "core/settings/settings_backend.h"

namespace vk930 {

// One line of the file as the run read it, with what the run made of it.
struct DryRunLine {
    std::string text;                   // the line as echoed
    std::vector<std::string> warnings;  // what the run logged about it (icon kind 0)
    WrittenBytes writes;                // bytes written for it (function keys: at the end)
};

struct DryRun {
    bool completed = false;         // the run got through; else `problem` says why
    std::string problem;            // the run's failure entries when it did not get through
    Pages before{};                 // the pages the run was given
    Pages after{};                  // the pages once every write was applied
    WrittenBytes written;           // every byte, in the order the run wrote them
    std::vector<DryRunLine> lines;  // up to the END line (or the file's end)
    bool sawEnd = false;
};

// Runs the Set of `file` against `pages`. Nothing outside the copy is touched.
DryRun RunDrySet(const Pages& pages, const std::string& file, SettingsBackendFactory& settings);

}  // namespace vk930

namespace vk930 {
struct CommandContext;
// Identifies the terminal and fetches both pages as the "Set" button does (the same log
// entries), then releases the port; `pages` is set when that succeeded.
Outcome FetchTerminalPages(const CommandContext& ctx, std::optional<Pages>& pages);
}  // namespace vk930

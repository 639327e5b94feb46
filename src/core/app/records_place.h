#pragma once
// Where a window's service records are, in the words its history and its series use: the
// shared registry, this bench's own service log, or none (and why), whichever registry the
// window could open.
#include <optional>
#include <string>

#include "core/base/result.h"
#include "core/registry/terminal_registry.h"

namespace vk930 {

struct RecordsPlace {
    TerminalRegistry* registry = nullptr;  // the ID registry opened; null: none could be
    std::optional<std::string> problem;    // why none could be opened
    std::string sharedRegistry;            // its masked address; empty: this bench's own

    // "the shared registry ADDRESS", "this bench (PATH)", or "no service records".
    std::string Where() const;
    // Why no ID can be handed out and no record read: the opening's reason, else a general one.
    std::string Problem() const;
    // The records that match `query`; without a registry, an error naming why.
    Result<FoundRecords> Find(const RecordQuery& query) const;
};

}  // namespace vk930

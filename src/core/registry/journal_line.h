#pragma once
// The journal of IDs as lines of JSON text, in the form the service log keeps them
// ({"time": "...", "journal": {"commId": 301, "state": "reserved", ...}}), written and read
// without a JSON library, for a bench whose program has none (the Win32 window).
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/registry/id_journal.h"

namespace vk930 {

// The entry's line (no line end), stamped with `time` in UTC to the millisecond.
std::string JournalLineText(const JournalEntry& entry, std::chrono::system_clock::time_point time);

// The entry a line holds; nullopt for a line that is no journal entry (a record, a line cut by
// a crash, text that is no JSON).
std::optional<JournalEntry> ParseJournalLine(std::string_view line);

}  // namespace vk930

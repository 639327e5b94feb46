#pragma once
// Writing the communication ID, typed or offered as the next number.
#include <cstdint>
#include <optional>
#include <string>

#include "core/commands/command_context.h"
#include "core/commands/outcome.h"
#include "core/commands/terminal_identity.h"
#include "core/settings/id_counter.h"

namespace vk930 {

// The IDs a terminal can carry, as wide as the numbers typed into the edit.
inline constexpr std::int64_t kCommIdMin = 0;
inline constexpr std::int64_t kCommIdMax = kMaxCommId;

// The next-ID offer for an edit text: the converted number + 1, and its caption, the
// offer's decimal text.
std::int64_t NextCommIdOffer(const std::string& editText);
std::string NextCommIdCaption(const std::string& editText);

// Change handler of the CommID edit: offers the next ID, or hides the offer for an empty edit.
void OnCommIdChange(const CommandContext& ctx);
// "&Set": writes the ID in the edit, remembers it once both bytes are confirmed, then resets
// and identifies the terminal. An ID outside 0 to 65535 is refused before anything is written.
Outcome SetCommId(const CommandContext& ctx);

// What a CommID write did, for a caller that keeps the ID itself (a series): once both bytes
// were acknowledged the terminal may carry the ID, whatever the reset or the identification
// after them reported.
struct CommIdWrite {
    Outcome outcome;
    bool bytesAcknowledged = false;
    bool writeStarted = false;  // a byte was sent: the terminal may carry part of the ID
    // What the terminal said it was after its restart; unset when it was not identified.
    std::optional<TerminalIdentity> identity = std::nullopt;
};
// SetCommId, saying whether the ID's bytes were acknowledged.
CommIdWrite SetCommIdReportingBytes(const CommandContext& ctx);
// The next-ID button: the number it offers becomes the edit's text and is written. Refused, with
// the edit unchanged, when the stored "commID" cannot be read and written back: a counter that
// cannot be kept would hand out the same IDs again.
Outcome NextCommId(const CommandContext& ctx);

// Logs "Cannot record the CommID: <reason>" (0), beeps; the refusal to number a terminal.
Outcome ReportUnrecorded(const CommandContext& ctx, const std::string& reason);

// The stored "commID" the next ID counts from, read and written back into `stored`. When the
// store cannot keep it: logs "Cannot record the CommID: <reason>", beeps, and is refused.
Outcome StoredCommId(const CommandContext& ctx, std::int32_t& stored);

}  // namespace vk930

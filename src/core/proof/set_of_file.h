#pragma once
// The "Set" button's command on a file other than the document's: a restore of a backup, or
// the file a comparison was made with. The log entries, safeguards and service record are the
// button's own; the document, the restore check and the CommID hold are left as they were.
#include <optional>
#include <string>

#include "core/commands/config_view.h"
#include "core/commands/outcome.h"

namespace vk930 {

struct FileSet {
    std::string file;
    std::string command = "set";        // the service log's name for it ("restore")
    std::optional<int> expectedCommId;  // refuse a terminal without this CommID (a restore)
    bool carryCommId = false;           // the file's CommID may replace the terminal's
};

struct FileSetResult {
    Outcome outcome;
    // The terminal's CommID when the Set was refused because it was not expectedCommId.
    std::optional<int> otherCommId;
};

FileSetResult SetOfFile(CVK900ConfigView& view, const FileSet& set);

}  // namespace vk930

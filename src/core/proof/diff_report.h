#pragma once
// What a dry run would change, key by key in file order: the value the pages hold, the value
// the Set would leave there (substitutes included), and what it warned.
#include <string>
#include <vector>

#include "core/proof/dry_run.h"

namespace vk930 {

struct KeyChange {
    std::string line;  // the file's line
    std::string key;
    std::string before;  // empty with `ignored`
    std::string after;
    std::vector<std::string> warnings;
    bool changed = false;
    bool ignored = false;  // no key the Set writes: only echoed (or an invalid SYSTEM value)
};

struct DiffReport {
    std::vector<KeyChange> keys;
    int changed = 0;
    int unchanged = 0;
    int warnings = 0;
    int ignored = 0;
    bool sawEnd = false;
    bool Differs() const { return changed > 0; }
};

// Which lines a report shows: what a reader of a diff looks for (a change, a warning, a line the
// Set ignores), or every line of the file as well.
enum class DiffLines { kNotable, kAll };

// Whether `change` is shown with `lines`.
bool Shown(const KeyChange& change, DiffLines lines);

DiffReport CompareDryRun(const DryRun& run);

// The report as text: the lines shown, each with what the Set does to it, then the counts, and
// a note when there is no END.
std::string FormatDiff(const DiffReport& report, DiffLines lines = DiffLines::kNotable);

}  // namespace vk930

#include "core/proof/diff_report.h"

#include <cstdio>

#include "core/commands/function_keys.h"
#include "core/commands/validation.h"
#include "core/params/page_encoding.h"
#include "core/params/parameter_file.h"
#include "core/params/parameter_table.h"
#include "core/proof/fetched_pages.h"

namespace vk930 {

namespace {

// A text in double quotes, bytes that do not print as \xHH.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// The key's value in the pages, by its row of the parameter table; false when the Set
// writes nothing for this key.
bool ValueOf(const std::string& key, const std::string& value, const Pages& pages,
             std::string& out) {
    PagesSource source(pages);
    if (key == kSystemKey) {
        const std::optional<SystemByte> raw = ParseSystemValue(value);
        if (!raw) return false;
        out = std::to_string(ReadByteValue(source, raw->page, raw->offset));
        return true;
    }
    const ParameterRow* row = FindParameter(key);
    if (!row || !row->applied || !row->HasPlace()) return false;
    switch (row->encoding) {
        case Encoding::kText:
            out = Quoted(ReadTextField(source, row->page, row->offset));
            return true;
        case Encoding::kTwoByte:
            out = std::to_string(ReadTwoByteValue(source, row->page, row->offset));
            return true;
        case Encoding::kByte:
            out = std::to_string(ReadByteValue(source, row->page, row->offset));
            return true;
        case Encoding::kFunctionKeyText:
            out = Quoted(ReadFunctionKey(source, row->functionKey).text);
            return true;
        case Encoding::kFunctionKeySend:
            out = std::to_string(ReadFunctionKey(source, row->functionKey).sendFlag);
            return true;
        case Encoding::kNone:
            return false;
    }
    return false;
}

std::string Describe(const KeyChange& k) {
    std::string text = k.line + "\n";
    if (k.ignored) {
        text += "    ignored: the Set writes nothing for this line\n";
    } else if (k.key == kSystemKey) {
        const std::optional<SystemByte> raw = ParseSystemValue(GetValue(k.line));
        text += "    page " + std::to_string(raw->page) + " offset " + std::to_string(raw->offset) +
                ": " + k.before + (k.changed ? " -> " + k.after : " (unchanged)") + "\n";
    } else {
        text += "    " + k.before + (k.changed ? " -> " + k.after : " (unchanged)") + "\n";
    }
    for (const std::string& w : k.warnings) text += "    " + w + "\n";
    return text;
}

}  // namespace

DiffReport CompareDryRun(const DryRun& run) {
    DiffReport report;
    report.sawEnd = run.sawEnd;
    for (const DryRunLine& line : run.lines) {
        const std::string key = GetKey(line.text);
        if (key == kEndKey) break;
        KeyChange k;
        k.line = line.text;
        k.key = key;
        k.warnings = line.warnings;
        const std::string value = GetValue(line.text);
        k.ignored = !HasColon(line.text) || !ValueOf(key, value, run.before, k.before);
        if (!k.ignored) {
            ValueOf(key, value, run.after, k.after);
            k.changed = k.before != k.after;
        }
        report.warnings += static_cast<int>(k.warnings.size());
        if (k.ignored)
            ++report.ignored;
        else if (k.changed)
            ++report.changed;
        else
            ++report.unchanged;
        report.keys.push_back(std::move(k));
    }
    return report;
}

bool Shown(const KeyChange& change, DiffLines lines) {
    return lines == DiffLines::kAll || change.changed || change.ignored || !change.warnings.empty();
}

std::string FormatDiff(const DiffReport& report, DiffLines lines) {
    std::string text;
    for (const KeyChange& k : report.keys)
        if (Shown(k, lines)) text += Describe(k);
    if (!report.sawEnd)
        text += "No END line: the file may be cut short; a Set would program it as it is.\n";
    text += std::to_string(report.changed) + " changed, " + std::to_string(report.unchanged) +
            " unchanged, " + std::to_string(report.warnings) + " warnings, " +
            std::to_string(report.ignored) + " ignored lines\n";
    return text;
}

}  // namespace vk930

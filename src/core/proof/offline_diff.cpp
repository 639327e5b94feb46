#include "core/proof/offline_diff.h"

#include <set>

#include "core/params/parameter_file.h"
#include "core/params/parameter_table.h"
#include "core/proof/fetched_pages.h"
#include "core/terminal/terminal_model.h"

namespace vk930 {

namespace {

std::vector<std::string> KeyedLines(const Pages& pages) {
    PagesSource source(pages);
    std::vector<std::string> lines;
    WriteKeyedForm(source, [&lines](const std::string& line) {
        lines.push_back(line.substr(0, line.size() - kLineEnd.size()));
        return true;
    });
    return lines;
}

// The bytes some keyed parameter covers; the others are reached by SYSTEM lines only.
std::set<std::pair<int, int>> KeyedBytes() {
    std::set<std::pair<int, int>> bytes;
    for (const ParameterRow& row : ParameterTable())
        if (row.HasPlace())
            for (int i = 0; i < row.width; ++i) bytes.insert({row.page, row.offset + i});
    return bytes;
}

}  // namespace

bool IsRawFile(const DryRun& run) {
    for (const DryRunLine& line : run.lines)
        if (GetKey(line.text) == kSystemKey) return true;
    return false;
}

DiffReport CompareByKey(const Pages& before, const Pages& after) {
    DiffReport report;
    report.sawEnd = true;
    const std::vector<std::string> old = KeyedLines(before), now = KeyedLines(after);
    for (size_t i = 0; i < old.size() && i < now.size(); ++i) {
        if (GetKey(old[i]) == kEndKey) break;
        KeyChange k;
        k.key = GetKey(now[i]);
        k.line = k.key;
        k.before = GetValue(old[i]);
        k.after = GetValue(now[i]);
        k.changed = k.before != k.after;
        ++(k.changed ? report.changed : report.unchanged);
        report.keys.push_back(std::move(k));
    }
    const std::set<std::pair<int, int>> keyed = KeyedBytes();
    for (int page = 0; page < 2; ++page)
        for (int offset = 0; offset < kPageSize; ++offset) {
            if (keyed.count({page, offset}) || before[page][offset] == after[page][offset])
                continue;
            KeyChange k;
            k.key = std::string(kSystemKey);
            k.line = "SYSTEM:" + std::to_string(page) + "," + std::to_string(offset) + "," +
                     std::to_string(after[page][offset]);
            k.before = std::to_string(before[page][offset]);
            k.after = std::to_string(after[page][offset]);
            k.changed = true;
            ++report.changed;
            report.keys.push_back(std::move(k));
        }
    return report;
}

DiffReport CompareFiles(const std::string& first, const std::string& second,
                        SettingsBackendFactory& settings, std::string& problem) {
    const DryRun base = RunDrySet(FactoryPages(), first, settings);
    if (!base.completed) {
        problem = "'" + first + "': " + base.problem;
        return {};
    }
    const DryRun run = RunDrySet(base.after, second, settings);
    if (!run.completed) {
        problem = "'" + second + "': " + run.problem;
        return {};
    }
    if (!IsRawFile(base) && !IsRawFile(run)) return CompareDryRun(run);
    DiffReport report = CompareByKey(base.after, run.after);
    report.sawEnd = run.sawEnd;
    for (const DryRunLine& line : run.lines)
        report.warnings += static_cast<int>(line.warnings.size());
    return report;
}

}  // namespace vk930

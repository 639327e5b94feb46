// "Service history...".
#include "core/app/history_tool.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/app/tool_texts.h"
#include "core/base/csv_text.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/tool_ids.h"
#include "core/params/replacing_file.h"

namespace vk930 {

namespace {

std::string Number(const std::optional<int>& value) {
    return value ? std::to_string(*value) : std::string();
}

FileDialogRequest CsvSaveRequest() {
    FileDialogRequest request;
    request.save = true;
    request.defaultExtension = "csv";
    request.initialName = "service-history.csv";
    request.filterName = "CSV files (*.csv)";
    request.filterPattern = "*.csv";
    return request;
}

}  // namespace

std::optional<std::chrono::system_clock::time_point> ParseDay(const std::string& text) {
    int year = 0, month = 0, day = 0;
    char rest = 0;
    if (text.size() != 10 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;
    const std::time_t start = std::mktime(&tm);
    // mktime moves a 31st of a short month on: such a day does not exist.
    if (start == static_cast<std::time_t>(-1) || tm.tm_year != year - 1900 ||
        tm.tm_mon != month - 1 || tm.tm_mday != day)
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(start);
}

std::string CommIdsOf(const HistoryRecord& record) {
    const std::string before = Number(record.commIdBefore);
    const std::string after = Number(record.commIdAfter);
    if (after.empty() || after == before) return before;
    if (before.empty()) return after;
    return before + "->" + after;
}

std::string DetailsOf(const HistoryRecord& record) {
    std::string outcome = record.outcome;
    if (!record.detail.empty()) outcome += " (" + record.detail + ")";
    std::string text = "File: " + (record.file.empty() ? "none" : record.file) + "\n";
    text += "Backup: " + (record.backup.empty() ? "none" : record.backup) + "\n";
    text += "Outcome: " + outcome + "\n";
    text += "Warnings: " + std::to_string(record.warnings);
    if (!record.warningTexts.empty()) text += ": " + WarningsText(record.warningTexts);
    return text;
}

std::string HistoryCsvOf(const std::vector<HistoryRecord>& records) {
    std::string csv =
        CsvLine({"time", "program", "command", "port", "reach", "commIdBefore", "commIdAfter",
                 "file", "backup", "outcome", "detail", "warnings", "durationMs"});
    for (const HistoryRecord& r : records)
        csv += CsvLine({r.time, r.program, r.command, std::to_string(r.port), r.reach,
                        Number(r.commIdBefore), Number(r.commIdAfter), r.file, r.backup, r.outcome,
                        r.detail, std::to_string(r.warnings), std::to_string(r.durationMs)});
    return csv;
}

HistoryTool::HistoryTool(HistorySource& source) : source_(source) {}

const DialogTemplate& HistoryTool::Template() const {
    return HistoryTemplate();
}

std::vector<ToolRow> HistoryTool::Rows(const std::vector<HistoryRecord>& records) {
    std::vector<ToolRow> rows;
    for (const HistoryRecord& r : records) {
        std::string outcome = r.outcome;
        if (!r.detail.empty()) outcome += ": " + r.detail;
        rows.push_back({r.time, r.command, "COM" + std::to_string(r.port), CommIdsOf(r), outcome});
    }
    return rows;
}

void HistoryTool::OnShow(ToolView& view) {
    dialog_ = &view;
    dialog_->SetText(id::kHistoryWhere, "Records of " + source_.Where() + ", newest first:");
    Show();
}

void HistoryTool::OnEdited(int id, const std::string& text) {
    if (id == id::kHistoryCommId) commIdText_ = text;
    if (id == id::kHistorySince) sinceText_ = text;
}

void HistoryTool::OnCommand(int id) {
    if (id == id::kHistoryShow) return Show();
    if (id == id::kHistoryExport) return Export();
    if (id == id::kCancel) dialog_->Close();
}

void HistoryTool::Show() {
    RecordQuery query;
    if (!commIdText_.empty()) {
        const bool digits =
            commIdText_.size() <= 5 && std::all_of(commIdText_.begin(), commIdText_.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || std::stoi(commIdText_) > 65535)
            return dialog_->Tell("The CommID to look for is a number from 0 to 65535, not '" +
                                 commIdText_ + "'.");
        query.commId = std::stoi(commIdText_);
    }
    if (!sinceText_.empty()) {
        query.since = ParseDay(sinceText_);
        if (!query.since)
            return dialog_->Tell("The day to start from is written like 2026-12-07, not '" +
                                 sinceText_ + "'.");
    }
    Result<std::vector<HistoryRecord>> found = source_.Find(query);
    shown_.clear();
    if (!found) {
        dialog_->SetRows(id::kHistoryList, {});
        dialog_->SetText(id::kHistoryDetails, "The records cannot be read: " + found.error());
        dialog_->SetEnabled(id::kHistoryExport, false);
        return;
    }
    shown_.assign(found->rbegin(), found->rend());
    dialog_->SetRows(id::kHistoryList, Rows(shown_));
    dialog_->SetText(id::kHistoryDetails, std::to_string(shown_.size()) + " records.");
    dialog_->SetEnabled(id::kHistoryExport, !shown_.empty());
}

void HistoryTool::OnRowSelected(int id, int row) {
    if (id != id::kHistoryList || row < 0 || row >= static_cast<int>(shown_.size())) return;
    dialog_->SetText(id::kHistoryDetails, DetailsOf(shown_[row]));
}

void HistoryTool::Export() {
    const FileDialogAnswer answer = dialog_->AskFile(CsvSaveRequest());
    if (!answer.ok) return;
    // The records name terminals, files and backups of the shop: the owner's alone.
    ReplacingFile file;
    Status written = file.Open(answer.path);
    if (written) written = file.MakePrivate();
    if (written && !file.Write(HistoryCsvOf(shown_)))
        written = Error{"the file could not be written"};
    if (written) written = file.Commit();
    if (!written)
        return dialog_->Tell("The history could not be written to '" + answer.path +
                             "': " + written.error());
    dialog_->SetText(id::kHistoryDetails,
                     std::to_string(shown_.size()) + " records written to " + answer.path + ".");
}

}  // namespace vk930

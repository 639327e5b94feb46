#pragma once
// "Service history...": the service records of this bench (or of the shared registry), newest
// first, filtered by CommID and date; a row's details (file, backup, outcome, warnings); and
// "Export CSV..." of the rows shown.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/app/tool_dialog.h"
#include "core/base/result.h"
#include "core/proof/history_record.h"
#include "core/registry/terminal_registry.h"

namespace vk930 {

// Where the records are read from; the front end reads the stored form.
class HistorySource {
  public:
    virtual ~HistorySource() = default;
    // The records that match, oldest first; an error naming why they cannot be read.
    virtual Result<std::vector<HistoryRecord>> Find(const RecordQuery& query) = 0;
    // Which records these are, for the dialog: "this bench's service log (<path>)", ...
    virtual std::string Where() const = 0;
};

// "2026-12-07" as the start of that day in local time; nullopt for anything else.
std::optional<std::chrono::system_clock::time_point> ParseDay(const std::string& text);

// The CommIDs a record names: "300", "0->300" when its command changed it, "" when none.
std::string CommIdsOf(const HistoryRecord& record);
// The details of a record: its file, backup, outcome and warnings, a line each.
std::string DetailsOf(const HistoryRecord& record);
// The records as CSV, a heading line first.
std::string HistoryCsvOf(const std::vector<HistoryRecord>& records);

class HistoryTool : public ToolController {
  public:
    explicit HistoryTool(HistorySource& source);

    const DialogTemplate& Template() const override;
    void OnShow(ToolView& view) override;
    void OnCommand(int id) override;
    void OnEdited(int id, const std::string& text) override;
    void OnRowSelected(int id, int row) override;
    bool MayClose() const override { return true; }

    // The list's rows: time, command, port, CommIDs, outcome.
    static std::vector<ToolRow> Rows(const std::vector<HistoryRecord>& records);

  private:
    void Show();
    void Export();

    HistorySource& source_;
    ToolView* dialog_ = nullptr;
    std::string commIdText_, sinceText_;
    std::vector<HistoryRecord> shown_;  // newest first
};

}  // namespace vk930

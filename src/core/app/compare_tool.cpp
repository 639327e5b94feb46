// "Compare with terminal...".
#include "core/app/compare_tool.h"

#include "core/app/tool_texts.h"
#include "core/commands/validation.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/tool_ids.h"
#include "core/params/parameter_file.h"
#include "core/proof/dry_run.h"
#include "core/proof/set_of_file.h"

namespace vk930 {

namespace {

// A SYSTEM line names its byte by page and offset; a keyed line by its key.
std::string PlaceOf(const KeyChange& change) {
    if (change.key != kSystemKey) return change.key;
    const std::optional<SystemByte> raw = ParseSystemValue(GetValue(change.line));
    if (!raw) return change.key;
    return "page " + std::to_string(raw->page) + " offset " + std::to_string(raw->offset);
}

}  // namespace

CompareTool::CompareTool(CVK900ConfigView& view, ToolJobs& jobs)
    : view_(view), jobs_(jobs), file_(view.State().document.m_strFilePath) {}

const DialogTemplate& CompareTool::Template() const {
    return CompareTemplate();
}

std::vector<ToolRow> CompareTool::ChangeRows(const DiffReport& report) {
    std::vector<ToolRow> rows;
    for (const KeyChange& change : report.keys)
        if (change.changed)
            rows.push_back(
                {PlaceOf(change), change.before, change.after, WarningsText(change.warnings)});
    return rows;
}

std::string CompareTool::CountsText(const DiffReport& report) {
    std::string text = std::to_string(report.changed) + " to change, " +
                       std::to_string(report.unchanged) + " unchanged, " +
                       std::to_string(report.ignored) + " ignored lines";
    if (report.warnings > 0) text += ", " + std::to_string(report.warnings) + " warnings";
    if (!report.sawEnd) text += "; no END line: the file may be cut short";
    return text;
}

void CompareTool::OnShow(ToolView& view) {
    dialog_ = &view;
    dialog_->SetText(id::kCompareFile, file_);
    dialog_->SetText(id::kCompareCounts,
                     file_.empty() ? "Choose a parameter file with Browse." : "");
    Enable(true);
}

void CompareTool::OnCommand(int id) {
    if (running_) return;
    if (id == id::kCompareBrowse) return Browse();
    if (id == id::kCompareRun) return Compare();
    if (id == id::kCompareSetNow) return SetNow();
    if (id == id::kCancel) dialog_->Close();
}

void CompareTool::Enable(bool idle) {
    dialog_->SetEnabled(id::kCompareBrowse, idle);
    dialog_->SetEnabled(id::kCompareRun, idle && !file_.empty());
    dialog_->SetEnabled(id::kCompareSetNow, idle && report_.has_value());
    dialog_->SetEnabled(id::kCancel, idle);
}

void CompareTool::Browse() {
    const FileDialogAnswer answer = dialog_->AskFile(ParameterFileOpenRequest());
    if (!answer.ok) return;
    file_ = answer.path;
    report_.reset();
    dialog_->SetText(id::kCompareFile, file_);
    dialog_->SetRows(id::kCompareList, {});
    dialog_->SetText(id::kCompareCounts, "");
    Enable(true);
}

void CompareTool::Compare() {
    report_.reset();
    problem_.clear();
    dialog_->SetRows(id::kCompareList, {});
    dialog_->SetText(id::kCompareCounts, "Reading the terminal's pages...");
    const std::string file = file_;
    auto job = [this, file] {
        const std::optional<Pages> pages = view_.OnFetchPagesForDryRun(file);
        if (!pages) {
            problem_ =
                "The terminal's pages could not be read: " + OutcomeText(view_.LastOutcome()) +
                " (the log says more).";
            return;
        }
        const DryRun run = RunDrySet(*pages, file, view_.Context().settings);
        if (!run.completed) {
            problem_ = "'" + file + "' cannot be compared: " + run.problem;
            return;
        }
        report_ = CompareDryRun(run);
    };
    running_ = jobs_.RunToolJob(TerminalJob::kIdentify, job, [this] { ShowCompared(); });
    Enable(!running_);
}

void CompareTool::ShowCompared() {
    running_ = false;
    if (report_) {
        dialog_->SetRows(id::kCompareList, ChangeRows(*report_));
        dialog_->SetText(id::kCompareCounts, CountsText(*report_));
    } else {
        dialog_->SetText(id::kCompareCounts, problem_);
    }
    Enable(true);
}

void CompareTool::SetNow() {
    const std::string file = file_;
    auto outcome = std::make_shared<Outcome>();
    dialog_->SetText(id::kCompareCounts, "Setting the file...");
    running_ = jobs_.RunToolJob(
        TerminalJob::kSet, [this, file, outcome] { *outcome = SetOfFile(view_, {file}).outcome; },
        [this, outcome] { ShowSetDone(*outcome); });
    Enable(!running_);
}

void CompareTool::ShowSetDone(const Outcome& outcome) {
    running_ = false;
    // What the list showed was the terminal before the Set.
    report_.reset();
    dialog_->SetRows(id::kCompareList, {});
    dialog_->SetText(id::kCompareCounts, "Set now: " + OutcomeText(outcome) +
                                             ". Compare again to see what the terminal holds.");
    Enable(true);
}

}  // namespace vk930

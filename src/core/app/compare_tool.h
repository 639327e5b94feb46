#pragma once
// "Compare with terminal...": what a Set of a parameter file would change in the connected
// terminal, key by key, from a dry run of the Set against the terminal's pages; "Set now"
// runs that Set (the "Set" button's command, with its log entries and safeguards).
#include <optional>
#include <string>

#include "core/app/tool_dialog.h"
#include "core/commands/config_view.h"
#include "core/proof/diff_report.h"

namespace vk930 {

class CompareTool : public ToolController {
  public:
    // The file is the document's until another is chosen.
    CompareTool(CVK900ConfigView& view, ToolJobs& jobs);

    const DialogTemplate& Template() const override;
    void OnShow(ToolView& view) override;
    void OnCommand(int id) override;
    bool MayClose() const override { return !running_; }

    // The rows the list shows for a report: the changed keys only.
    static std::vector<ToolRow> ChangeRows(const DiffReport& report);
    // The line under the list: the counts, and a note when the file has no END line.
    static std::string CountsText(const DiffReport& report);

  private:
    void Browse();
    void Compare();
    void SetNow();
    void ShowCompared();
    void ShowSetDone(const Outcome& outcome);
    void Enable(bool idle);

    CVK900ConfigView& view_;
    ToolJobs& jobs_;
    ToolView* dialog_ = nullptr;
    std::string file_;
    // Written by the job, read once it has ended.
    std::optional<DiffReport> report_;
    std::string problem_;
    bool running_ = false;
};

}  // namespace vk930

#pragma once
// "Backups...": the backups this bench wrote before its Sets, newest first. "Restore" programs
// the chosen one into the connected terminal after checking that it carries the backup's
// CommID, and asks before restoring onto another terminal (which then keeps its own CommID);
// "Open" makes the backup the document.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/tool_dialog.h"
#include "core/commands/config_view.h"
#include "core/proof/backup.h"
#include "core/proof/set_of_file.h"

namespace vk930 {

class BackupsTool : public ToolController {
  public:
    // openDocument: opens a file as the document (Application::OpenDocumentFile).
    BackupsTool(CVK900ConfigView& view, ToolJobs& jobs,
                std::function<bool(const std::string&)> openDocument);

    const DialogTemplate& Template() const override;
    void OnShow(ToolView& view) override;
    void OnCommand(int id) override;
    void OnRowSelected(int id, int row) override;
    bool MayClose() const override { return !running_; }

    // The list's rows: time, port, CommID and file name of each backup (the folder is named
    // above the list), in the order given.
    static std::vector<ToolRow> Rows(const std::vector<BackupEntry>& backups);

  private:
    void Refresh();
    void Restore(const BackupEntry& backup, bool ontoAnother);
    void Restored(const BackupEntry& backup, const FileSetResult& result);
    void Open();
    void Enable();

    CVK900ConfigView& view_;
    ToolJobs& jobs_;
    std::function<bool(const std::string&)> openDocument_;
    ToolView* dialog_ = nullptr;
    std::vector<BackupEntry> backups_;  // newest first
    int selected_ = -1;
    bool running_ = false;
};

}  // namespace vk930

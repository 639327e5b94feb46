// "Backups...".
#include "core/app/backups_tool.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "core/app/tool_texts.h"
#include "core/forms/dialog_ids.h"
#include "core/forms/tool_ids.h"
#include "core/proof/state_folder.h"

namespace vk930 {

BackupsTool::BackupsTool(CVK900ConfigView& view, ToolJobs& jobs,
                         std::function<bool(const std::string&)> openDocument)
    : view_(view), jobs_(jobs), openDocument_(std::move(openDocument)) {}

const DialogTemplate& BackupsTool::Template() const {
    return BackupsTemplate();
}

std::vector<ToolRow> BackupsTool::Rows(const std::vector<BackupEntry>& backups) {
    std::vector<ToolRow> rows;
    for (const BackupEntry& backup : backups)
        rows.push_back({StampTime(backup.name.stamp, ' '), "COM" + std::to_string(backup.name.port),
                        std::to_string(backup.name.commId),
                        std::filesystem::path(backup.path).filename().string()});
    return rows;
}

void BackupsTool::OnShow(ToolView& view) {
    dialog_ = &view;
    Refresh();
}

void BackupsTool::Refresh() {
    const std::string folder = BackupFolder(view_.Proof().stateFolder);
    backups_ = ListBackups(folder);
    std::reverse(backups_.begin(), backups_.end());
    selected_ = -1;
    dialog_->SetRows(id::kBackupsList, Rows(backups_));
    dialog_->SetText(id::kBackupsFolder, backups_.empty()
                                             ? "No backups in " + folder +
                                                   " yet: a Set writes one before its first write."
                                             : "Backups in " + folder + ", newest first:");
    Enable();
}

void BackupsTool::Enable() {
    const bool chosen = !running_ && selected_ >= 0;
    dialog_->SetEnabled(id::kBackupsRestore, chosen);
    dialog_->SetEnabled(id::kBackupsOpen, chosen);
    dialog_->SetEnabled(id::kCancel, !running_);
}

void BackupsTool::OnRowSelected(int id, int row) {
    if (id != id::kBackupsList || running_) return;
    selected_ = row >= 0 && row < static_cast<int>(backups_.size()) ? row : -1;
    Enable();
}

void BackupsTool::OnCommand(int id) {
    if (running_) return;
    if (id == id::kCancel) return dialog_->Close();
    if (selected_ < 0) return;
    if (id == id::kBackupsRestore) return Restore(backups_[selected_], false);
    if (id == id::kBackupsOpen) return Open();
}

void BackupsTool::Restore(const BackupEntry& backup, bool ontoAnother) {
    FileSet restore;
    restore.file = backup.path;
    restore.command = "restore";
    // Onto another terminal the backup goes without its CommID: the terminal keeps its own.
    if (!ontoAnother) restore.expectedCommId = backup.name.commId;
    auto result = std::make_shared<FileSetResult>();
    dialog_->SetText(id::kBackupsStatus, "Restoring " + backup.path + "...");
    running_ = jobs_.RunToolJob(
        TerminalJob::kSet, [this, restore, result] { *result = SetOfFile(view_, restore); },
        [this, backup, result] { Restored(backup, *result); });
    Enable();
}

void BackupsTool::Restored(const BackupEntry& backup, const FileSetResult& result) {
    running_ = false;
    Enable();
    if (result.otherCommId) {
        const std::string ids =
            "The connected terminal carries CommID " + std::to_string(*result.otherCommId) +
            "; the backup was taken of CommID " + std::to_string(backup.name.commId) + ".";
        if (dialog_->AskYesNo(ids + "\nRestore it onto this terminal all the same? It keeps "
                                    "its own CommID.")) {
            Restore(backup, true);
            return;
        }
        dialog_->SetText(id::kBackupsStatus, "Not restored. " + ids);
        return;
    }
    dialog_->SetText(id::kBackupsStatus, "Restore: " + OutcomeText(result.outcome));
    Refresh();  // the restore wrote a backup of what it replaced
}

void BackupsTool::Open() {
    const std::string path = backups_[selected_].path;
    if (openDocument_(path)) dialog_->Close();
}

}  // namespace vk930

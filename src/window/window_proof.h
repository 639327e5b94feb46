#pragma once
// What the window shows of backups and the service log: the last backup's file name in a line
// of the link control's area (control 1024), a box when the service log cannot be written.
#include <QLabel>
#include <QPointer>

#include "core/app/box_proof_channel.h"
#include "window/main_form.h"
#include "window/window_host.h"

namespace vk930 {

// The boxes are those of every window; the backup line is this window's.
class WindowProofChannel : public BoxProofChannel {
  public:
    WindowProofChannel(MainFormWidget& form, WindowHost& host)
        : BoxProofChannel(host), form_(form) {}
    void BackupWritten(const std::string& path) override;

    // The line in the link control's area; null until the first backup.
    QLabel* BackupLine() const { return backupLine_; }

  private:
    void ShowBackup(const std::string& path);

    MainFormWidget& form_;
    QPointer<QLabel> backupLine_;
};

}  // namespace vk930

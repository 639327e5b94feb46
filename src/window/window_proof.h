#pragma once
// What the window shows of backups and the service log: the last backup's file name in a line
// of the link control's area (control 1024), a box when the service log cannot be written.
#include <QLabel>
#include <QPointer>

#include "core/proof/proof_channel.h"
#include "window/main_form.h"
#include "window/window_host.h"

namespace vk930 {

class WindowProofChannel : public ProofChannel {
  public:
    WindowProofChannel(MainFormWidget& form, WindowHost& host) : form_(form), host_(host) {}
    void BackupWritten(const std::string& path) override;
    void ServiceLogFailed(const std::string& reason) override;
    void Refused(const std::string& text) override;

    // The line in the link control's area; null until the first backup.
    QLabel* BackupLine() const { return backupLine_; }

  private:
    void ShowBackup(const std::string& path);

    MainFormWidget& form_;
    WindowHost& host_;
    QPointer<QLabel> backupLine_;
};

}  // namespace vk930

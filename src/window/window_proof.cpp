// The Qt window's backup line in the link control's place, over the boxes every window shows.
#include "window/window_proof.h"

#include "core/app/proof_notices.h"
#include "core/forms/form_ids.h"
#include "window/gui_thread.h"

namespace vk930 {

// Called on the command's thread: the line is made and shown on the window's, where its
// parent lives (a widget made on another thread gets no parent and never shows).
void WindowProofChannel::BackupWritten(const std::string& path) {
    RunOnGuiThread([&] { ShowBackup(path); });
}

void WindowProofChannel::ShowBackup(const std::string& path) {
    QWidget* area = form_.Control(id::kLinkControl);
    if (!area) return;
    if (!backupLine_) {
        backupLine_ = new QLabel(area);
        backupLine_->setObjectName("backupLine");
        backupLine_->setContentsMargins(4, 0, 4, 0);
    }
    backupLine_->setText(QString::fromStdString(BackupLineText(path)));
    backupLine_->setToolTip(QString::fromStdString(path));
    backupLine_->setGeometry(0, 0, area->width(), backupLine_->sizeHint().height());
    backupLine_->show();
}

}  // namespace vk930

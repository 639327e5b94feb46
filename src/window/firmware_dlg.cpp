#include "window/firmware_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "window/dialog_builder.h"
#include "window/file_dialog.h"
#include "window/text.h"

namespace vk930 {

CFirmwareDlg::CFirmwareDlg(QWidget* parent) : QDialog(parent, kModalDialogFrame) {
    const DialogTemplate& dialog = FirmwareTemplate();
    setWindowTitle(ToQ(dialog.caption));
    const BuiltDialog built = BuildDialog(dialog, this);
    setFixedSize(built.size);
    filePath_ = qobject_cast<QLabel*>(built.byId.at(id::kFwFilePath));
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kOk)), &QPushButton::clicked, this,
            &CFirmwareDlg::accept);
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kCancel)), &QPushButton::clicked, this,
            &CFirmwareDlg::reject);
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kOpenFwFileButton)), &QPushButton::clicked,
            this, &CFirmwareDlg::OnOpenFwFile);
    DoDataExchange(false);
}

void CFirmwareDlg::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate)
        m_strFile = filePath_->text();
    else
        filePath_->setText(m_strFile);
}

void CFirmwareDlg::OnOpenFwFile() {
    FileDialogRequest request;
    request.defaultExtension = "a20";
    request.initialName = "hsbt*.a20";
    request.filterName = "VK930 FW files (hsbt*.a20)";
    request.filterPattern = "hsbt*.a20";
    const FileDialogAnswer answer = RunFileDialog(request, this);
    if (!answer.ok) return;  // an earlier choice stays
    m_strFile = ToQ(answer.path);
    DoDataExchange(false);
}

void CFirmwareDlg::accept() {
    DoDataExchange(true);
    QDialog::accept();
}

FirmwareDialogAnswer CFirmwareDlg::Run() {
    if (exec() != QDialog::Accepted) return {};
    return {true, ToStd(m_strFile)};
}

}  // namespace vk930

#include "window/get_params_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "window/dialog_builder.h"
#include "window/file_dialog.h"
#include "window/text.h"

namespace vk930 {

CGetParamsDlg::CGetParamsDlg(int portIndex, QString path, QWidget* parent)
    : QDialog(parent, kModalDialogFrame), m_nPortIndex(portIndex), m_strPath(std::move(path)) {
    const DialogTemplate& dialog = GetParamsTemplate();
    setWindowTitle(ToQ(dialog.caption));
    const BuiltDialog built = BuildDialog(dialog, this);
    setFixedSize(built.size);
    m_wndPathText = qobject_cast<QLabel*>(built.byId.at(id::kGetParamsPathText));
    portList_ = qobject_cast<QComboBox*>(built.byId.at(id::kGetParamsPortList));
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kOk)), &QPushButton::clicked, this,
            &CGetParamsDlg::accept);
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kCancel)), &QPushButton::clicked, this,
            &CGetParamsDlg::reject);
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kGetParamsSaveButton)),
            &QPushButton::clicked, this, &CGetParamsDlg::OnSaveParametersTo);
    OnInitDialog();
}

void CGetParamsDlg::OnInitDialog() {
    DoDataExchange(false);
    m_wndPathText->setText(m_strPath);
    DoDataExchange(true);  // a position the list does not have leaves -1
}

void CGetParamsDlg::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate) {
        m_nPortIndex = portList_->currentIndex();
        return;
    }
    const bool valid = m_nPortIndex >= 0 && m_nPortIndex < portList_->count();
    portList_->setCurrentIndex(valid ? m_nPortIndex : -1);
}

void CGetParamsDlg::OnSaveParametersTo() {
    FileDialogRequest request;
    request.save = true;
    request.defaultExtension = "pcg";
    request.initialName = "*.pcg";
    const FileDialogAnswer answer = RunFileDialog(request, this);
    if (!answer.ok) return;
    m_strPath = ToQ(answer.path);
    m_wndPathText->setText(m_strPath);
    DoDataExchange(true);
}

void CGetParamsDlg::accept() {
    DoDataExchange(true);
    QDialog::accept();
}

GetParamsDialogAnswer CGetParamsDlg::Run() {
    if (exec() != QDialog::Accepted) return {};
    return {true, m_nPortIndex, ToStd(m_strPath)};
}

}  // namespace vk930

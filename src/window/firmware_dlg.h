#pragma once
// The firmware upload dialog (template 138): the five steps of an upload and the choice of
// the firmware file. It checks nothing and never touches the link.
#include <QDialog>
#include <QString>

#include "core/commands/host.h"

class QLabel;

namespace vk930 {

class CFirmwareDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CFirmwareDlg(QWidget* parent = nullptr);

    // Runs the dialog modally; after "Start uploading" the answer carries the path shown.
    FirmwareDialogAnswer Run();

    QString m_strFile;  // the chosen firmware file; empty at the start

    void accept() override;

  private:
    void DoDataExchange(bool saveAndValidate);
    void OnOpenFwFile();

    QLabel* filePath_;  // control 1020
};

}  // namespace vk930

#pragma once
// The Get Parameters dialog (template 131): the COM port and the file the parameters are
// saved to. It checks nothing and never touches the link; the command reads its answer.
#include <QDialog>
#include <QString>

#include "core/commands/host.h"

class QComboBox;
class QLabel;

namespace vk930 {

class CGetParamsDlg : public QDialog {
    Q_OBJECT
  public:
    // portIndex: the list position to select (0 for "COM1"); none is selected when the list
    // has no such position.
    CGetParamsDlg(int portIndex, QString path, QWidget* parent = nullptr);

    // Runs the dialog modally and returns the user's answer.
    GetParamsDialogAnswer Run();

    int m_nPortIndex = 0;   // -1 when no entry of the port list is selected
    QString m_strPath;      // the file to write
    QLabel* m_wndPathText;  // control 1008

    void accept() override;

  private:
    // Moves the members into the controls (false) or the controls into the members (true).
    void DoDataExchange(bool saveAndValidate);
    void OnInitDialog();
    void OnSaveParametersTo();

    QComboBox* portList_;
};

}  // namespace vk930

#pragma once
// The About box (template 100).
#include <QDialog>

namespace vk930 {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace vk930

#pragma once
// A dialog of the Tools menu in widgets: built from its controller's template, every click,
// edit and selection forwarded to the controller, which decides what the dialog shows.
#include <QDialog>
#include <map>

#include "core/app/tool_dialog.h"

class QTreeWidget;

namespace vk930 {

class CToolDlg : public QDialog, public ToolView {
    Q_OBJECT
  public:
    CToolDlg(ToolController& controller, QWidget* parent = nullptr);

    // Builds and runs the dialog modally.
    void Run();

    // ToolView
    void SetText(int id, const std::string& text) override;
    void SetEnabled(int id, bool enabled) override;
    void SetRows(int id, const std::vector<ToolRow>& rows) override;
    bool AskYesNo(const std::string& question) override;
    void Tell(const std::string& text) override;
    FileDialogAnswer AskFile(const FileDialogRequest& request) override;
    void Close() override;

    // Escape and the frame's close box: the controller's "Close", refused while its job runs.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Connect(const DialogControl& control, QWidget* widget);
    QTreeWidget* MakeList(const DialogControl& control, QWidget* parent);

    ToolController& controller_;
    std::map<int, QWidget*> byId_;
};

}  // namespace vk930

#pragma once
// The main form (template 101): the controls by id, their texts, visibility and read-only
// state, and the operation log. It decides nothing: a button press or a typed CommID goes out
// as a signal and the core answers through the host.
#include <QSize>
#include <QString>
#include <QWidget>
#include <map>

#include "window/dialog_builder.h"
#include "window/operation_log.h"

class QLineEdit;

namespace vk930 {

class LinkArea;

class MainFormWidget : public QWidget {
    Q_OBJECT
  public:
    explicit MainFormWidget(QWidget* parent = nullptr);

    // The control with this id (null for an unknown id).
    QWidget* Control(int id) const;
    OperationLogView& Log() { return *log_; }
    LinkArea& Link() { return *link_; }
    // The form's size from its template.
    QSize FormSize() const { return formSize_; }
    // The dialog units it was built with (the base widened so that every fixed text fits).
    const DialogUnits& Units() const { return units_; }

    void SetControlText(int id, const QString& text);
    void SetControlVisible(int id, bool visible);
    void SetControlReadOnly(int id, bool readOnly);
    // While a command runs the buttons (but "C&lose") and the CommID edit take no input.
    void SetBusy(bool busy);

  signals:
    // A button of the form was pressed; the id is its control id.
    void command(int id);
    // The user changed the CommID edit's text.
    void commIdEdited(const QString& text);

  private:
    QWidget* MakeCustomControl(int kind, QWidget* parent);
    static void ShowReadOnly(QLineEdit* edit, bool readOnly);

    std::map<int, QWidget*> controls_;
    OperationLogView* log_ = nullptr;
    LinkArea* link_ = nullptr;
    QSize formSize_;
    DialogUnits units_;
};

}  // namespace vk930

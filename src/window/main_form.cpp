#include "window/main_form.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"
#include "window/dialog_builder.h"

namespace vk930 {

MainFormWidget::MainFormWidget(QWidget* parent) : QWidget(parent) {
    const BuiltDialog built =
        BuildDialog(MainFormTemplate(), this, [this](const DialogControl& c, QWidget* surface) {
            return MakeCustomControl(static_cast<int>(c.kind), surface);
        });
    controls_ = built.byId;
    formSize_ = built.size;
    setFixedSize(formSize_);
    for (const auto& [id, widget] : controls_) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, id = id] { emit command(id); });
    }
    auto* commId = qobject_cast<QLineEdit*>(Control(id::kCommId));
    connect(commId, &QLineEdit::textEdited, this, &MainFormWidget::commIdEdited);
}

QWidget* MainFormWidget::MakeCustomControl(int kind, QWidget* parent) {
    if (kind != static_cast<int>(ControlKind::kListView)) return nullptr;
    log_ = new OperationLogView(parent);
    return log_;
}

QWidget* MainFormWidget::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void MainFormWidget::SetControlText(int id, const QString& text) {
    QWidget* widget = Control(id);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);  // a program change: textEdited is not sent
}

void MainFormWidget::SetControlVisible(int id, bool visible) {
    if (QWidget* widget = Control(id)) widget->setVisible(visible);
}

void MainFormWidget::SetControlReadOnly(int id, bool readOnly) {
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) edit->setReadOnly(readOnly);
}

}  // namespace vk930

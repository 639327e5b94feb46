#include "window/main_form.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>

#include "core/app/command_map.h"
#include "core/commands/fixed_texts.h"
#include "core/forms/dialog_template.h"
#include "core/forms/form_ids.h"
#include "window/dialog_builder.h"
#include "window/link_area.h"
#include "window/text.h"

namespace vk930 {

namespace {

// The identification fields' texts, which must fit their fields. The two hidden buttons are
// never shown (their captions are wider than they are on any font).
ControlTexts FieldTexts() {
    ControlTexts texts = {{id::kGetKeyedButton, {}}, {id::kSetRunButton, {}}};
    for (const int field : {id::kType, id::kScanner, id::kRfid, id::kColor, id::kDisplay})
        for (const std::string& text : FixedFieldTexts(field)) texts[field].push_back(ToQ(text));
    return texts;
}

// Every fixed log text must fit the "Status" column, 280 pixels at the template font.
std::vector<TextRoom> LogRooms(const OperationLogView& log) {
    std::vector<TextRoom> rooms;
    for (const std::string& text : FixedLogTexts())
        rooms.push_back(
            {ToQ(text), OperationLogView::kStatusColumnWidth, kTemplateBaseX, log.TextMargin()});
    return rooms;
}

}  // namespace

MainFormWidget::MainFormWidget(QWidget* parent) : QWidget(parent) {
    // The log is made first: its margins are part of what the dialog units must fit.
    setFont(DialogFont(MainFormTemplate()));
    log_ = new OperationLogView(this);
    const BuiltDialog built = BuildDialog(
        MainFormTemplate(), this,
        [this](const DialogControl& c, QWidget* surface) {
            return MakeCustomControl(static_cast<int>(c.kind), surface);
        },
        FieldTexts(), LogRooms(*log_));
    log_->ScaleStatusColumn(built.units.baseX);
    controls_ = built.byId;
    formSize_ = built.size;
    units_ = built.units;
    setFixedSize(formSize_);
    for (const auto& [id, widget] : controls_) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, id = id] { emit command(id); });
    }
    auto* commId = qobject_cast<QLineEdit*>(Control(id::kCommId));
    ShowReadOnly(commId, commId->isReadOnly());
    connect(commId, &QLineEdit::textEdited, this, &MainFormWidget::commIdEdited);
}

QWidget* MainFormWidget::MakeCustomControl(int kind, QWidget* parent) {
    if (kind == static_cast<int>(ControlKind::kLinkControl)) {
        link_ = new LinkArea(parent);
        return link_;
    }
    if (kind != static_cast<int>(ControlKind::kListView)) return nullptr;
    log_->setParent(parent);
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
    if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) ShowReadOnly(edit, readOnly);
}

// A read-only edit shows the form's background behind its text, as the platform's read-only
// edits do, so that it does not look as if it took typing.
void MainFormWidget::ShowReadOnly(QLineEdit* edit, bool readOnly) {
    edit->setReadOnly(readOnly);
    QPalette palette = edit->palette();
    const QPalette standard = edit->style()->standardPalette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base,
                         readOnly ? palette.color(group, QPalette::Window)
                                  : standard.color(group, QPalette::Base));
    edit->setPalette(palette);
}

void MainFormWidget::SetBusy(bool busy) {
    for (const auto& [id, widget] : controls_) {
        if (TakesInputWhileBusy(id)) continue;
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget))
            widget->setEnabled(!busy);
    }
}

}  // namespace vk930

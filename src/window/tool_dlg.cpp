// A Tools dialog rendered with widgets.
#include "window/tool_dlg.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

#include "core/forms/dialog_ids.h"
#include "core/forms/menu_template.h"
#include "window/dialog_builder.h"
#include "window/file_dialog.h"
#include "window/text.h"

namespace vk930 {

CToolDlg::CToolDlg(ToolController& controller, QWidget* parent)
    : QDialog(parent, kModalDialogFrame), controller_(controller) {
    const DialogTemplate& dialog = controller_.Template();
    setWindowTitle(ToQ(dialog.caption));
    setObjectName(QStringLiteral("tool%1").arg(dialog.id));
    const BuiltDialog built =
        BuildDialog(dialog, this, [this](const DialogControl& c, QWidget* surface) -> QWidget* {
            if (c.kind == ControlKind::kListView) return MakeList(c, surface);
            return nullptr;
        });
    setFixedSize(built.size);
    byId_ = built.byId;
    for (size_t i = 0; i < dialog.controls.size(); ++i)
        Connect(dialog.controls[i], built.controls[i]);
}

QTreeWidget* CToolDlg::MakeList(const DialogControl& control, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    QStringList headings;
    for (const std::string& heading : control.items) headings << ToQ(heading);
    list->setHeaderLabels(headings);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    return list;
}

void CToolDlg::Connect(const DialogControl& control, QWidget* widget) {
    const int id = control.id;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        connect(button, &QPushButton::clicked, this, [this, id] { controller_.OnCommand(id); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { controller_.OnEdited(id, ToStd(text)); });
    } else if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, id, list] {
            const QList<QTreeWidgetItem*> chosen = list->selectedItems();
            controller_.OnRowSelected(
                id, chosen.isEmpty() ? -1 : list->indexOfTopLevelItem(chosen.front()));
        });
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        // A tall label holds several lines (a record's details).
        if (control.height > 12) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        }
    }
}

void CToolDlg::Run() {
    controller_.OnShow(*this);
    exec();
}

void CToolDlg::SetText(int id, const std::string& text) {
    QWidget* widget = byId_.at(id);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(ToQ(text));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(ToQ(text));
        edit->setCursorPosition(0);
    }
}

void CToolDlg::SetEnabled(int id, bool enabled) {
    byId_.at(id)->setEnabled(enabled);
}

void CToolDlg::SetRows(int id, const std::vector<ToolRow>& rows) {
    auto* list = qobject_cast<QTreeWidget*>(byId_.at(id));
    list->clear();
    QList<QTreeWidgetItem*> items;
    for (const ToolRow& row : rows) {
        QStringList texts;
        for (const std::string& text : row) texts << ToQ(text);
        items << new QTreeWidgetItem(texts);
    }
    list->addTopLevelItems(items);
    for (int column = 0; column + 1 < list->columnCount(); ++column)
        list->resizeColumnToContents(column);
}

bool CToolDlg::AskYesNo(const std::string& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), ToQ(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void CToolDlg::Tell(const std::string& text) {
    QMessageBox box(QMessageBox::Information, windowTitle(), ToQ(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

FileDialogAnswer CToolDlg::AskFile(const FileDialogRequest& request) {
    return RunFileDialog(request, this);
}

void CToolDlg::Close() {
    QDialog::done(QDialog::Accepted);
}

void CToolDlg::reject() {
    if (controller_.MayClose()) QDialog::reject();
}

void CToolDlg::closeEvent(QCloseEvent* event) {
    if (controller_.MayClose())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

}  // namespace vk930

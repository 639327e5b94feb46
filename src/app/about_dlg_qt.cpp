#include "app/about_dlg_qt.h"

#include <QPushButton>

#include "res/dialog_ids.h"
#include "res/dialog_template.h"
#include "ui/dialog_builder_qt.h"
#include "ui/icons_qt.h"
#include "ui/text_qt.h"

namespace vk930 {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent, kModalDialogFrame) {
    const DialogTemplate& dialog = AboutBoxTemplate();
    setWindowTitle(ToQ(dialog.caption));
    setWindowIcon(ApplicationIcon());
    const BuiltDialog built = BuildDialog(dialog, this);
    setFixedSize(built.size);
    connect(qobject_cast<QPushButton*>(built.byId.at(id::kOk)), &QPushButton::clicked, this,
            &CAboutDlg::accept);
}

}  // namespace vk930

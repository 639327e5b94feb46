#include "window/about_dlg.h"

#include <QPushButton>

#include "core/forms/dialog_ids.h"
#include "core/forms/dialog_template.h"
#include "window/dialog_builder.h"
#include "window/icons.h"
#include "window/text.h"

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

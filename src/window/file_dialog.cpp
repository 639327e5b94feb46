#include "window/file_dialog.h"

#include <QFileDialog>

#include "core/forms/menu_template.h"
#include "window/text.h"

namespace vk930 {

QString FilterLine(const FileDialogRequest& request) {
    if (request.filterName.empty()) return {};
    const QString name = ToQ(request.filterName);
    const QString pattern = ToQ(request.filterPattern);
    if (pattern.isEmpty() || name.endsWith('(' + pattern + ')')) return name;
    return name + " (" + pattern + ')';
}

FileDialogAnswer RunFileDialog(const FileDialogRequest& request, QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(ToQ(request.defaultExtension));
    if (const QString filter = FilterLine(request); !filter.isEmpty()) dialog.setNameFilter(filter);
    // A name with wildcards filters the list until the user picks or types a file.
    if (!request.initialName.empty()) dialog.selectFile(ToQ(request.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {true, ToStd(dialog.selectedFiles().first())};
}

std::optional<QString> RunOpenDocumentDialog(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QString::fromLatin1(kFilterName), QStringLiteral("All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace vk930

#pragma once
// The open and save dialogs. They are the toolkit's own widgets, not the desktop's, so that
// they look the same everywhere and tests can answer them.
#include <QString>
#include <optional>

#include "core/commands/host.h"

class QWidget;

namespace vk930 {

// A file dialog as the core asks for it. An open dialog accepts a name that does not exist;
// a save dialog asks before an existing file is replaced.
FileDialogAnswer RunFileDialog(const FileDialogRequest& request, QWidget* parent);

// The document's open dialog: "VK930C Files (*.pcg)" and all files; the file must exist.
std::optional<QString> RunOpenDocumentDialog(QWidget* parent);

// The filter line of a request: the name, with the pattern added when the name does not
// already end with it in parentheses. Empty when the request has no filter.
QString FilterLine(const FileDialogRequest& request);

}  // namespace vk930

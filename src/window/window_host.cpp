#include "window/window_host.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QThread>

#include "window/editor_launcher.h"
#include "window/file_dialog.h"
#include "window/firmware_dlg.h"
#include "window/get_params_dlg.h"
#include "window/main_form.h"
#include "window/main_frame.h"
#include "window/text.h"

namespace vk930 {

void BlockingSleep(int milliseconds) {
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

WindowHost::WindowHost(CMainFrame& frame, MainFormWidget& form, SettingsBackendFactory& settings,
                       Sleeper sleep)
    : frame_(frame), form_(form), settings_(settings), sleep_(sleep ? sleep : BlockingSleep) {
    formTimer_.setSingleShot(true);  // every expiry stops it
}

void WindowHost::OnFormTimer(std::function<void()> handler) {
    QObject::connect(&formTimer_, &QTimer::timeout, std::move(handler));
}

void WindowHost::AppendLog(std::string text, int kind) {
    form_.Log().AppendLog(ToQ(text), kind);
}

void WindowHost::ClearLog() {
    form_.Log().ClearLog();
}

void WindowHost::Beep() {
    QApplication::beep();
}

void WindowHost::MessageBox(const std::string& text, const std::string& caption) {
    // Before the window is shown (the settings load at start-up) the box has no owner.
    QWidget* owner = frame_.isVisible() ? &frame_ : nullptr;
    QMessageBox box(QMessageBox::NoIcon, ToQ(caption), ToQ(text), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void WindowHost::SetControlText(int id, const std::string& text) {
    form_.SetControlText(id, ToQ(text));
}

void WindowHost::SetControlVisible(int id, bool visible) {
    form_.SetControlVisible(id, visible);
}

void WindowHost::SetControlReadOnly(int id, bool readOnly) {
    form_.SetControlReadOnly(id, readOnly);
}

GetParamsDialogAnswer WindowHost::RunGetParamsDialog(int portIndex, const std::string& path) {
    CGetParamsDlg dialog(portIndex, ToQ(path), &frame_);
    return dialog.Run();
}

FirmwareDialogAnswer WindowHost::RunFirmwareDialog() {
    CFirmwareDlg dialog(&frame_);
    return dialog.Run();
}

FileDialogAnswer WindowHost::RunFileDialog(const FileDialogRequest& request) {
    return vk930::RunFileDialog(request, &frame_);
}

std::optional<std::string> WindowHost::CurrentDirectory() {
    const QString dir = QDir::currentPath();
    if (dir.isEmpty()) return std::nullopt;
    return ToStd(QDir::toNativeSeparators(dir));
}

bool WindowHost::SetCurrentDirectory(const std::string& path) {
    return QDir::setCurrent(ToQ(path));
}

void WindowHost::StartEditor(const std::string& path) {
    LaunchEditor(ToQ(path), settings_);
}

void WindowHost::SetDocumentTitle(const std::string& title) {
    frame_.SetDocumentTitle(ToQ(title));
}

}  // namespace vk930

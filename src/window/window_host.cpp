#include "window/window_host.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QThread>

#include "core/forms/menu_template.h"
#include "window/editor_launcher.h"
#include "window/file_dialog.h"
#include "window/firmware_dlg.h"
#include "window/get_params_dlg.h"
#include "window/gui_thread.h"
#include "window/link_area.h"
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
    RunOnGuiThread([&] { form_.Log().AppendLog(ToQ(text), kind); });
}

void WindowHost::ClearLog() {
    RunOnGuiThread([&] { form_.Log().ClearLog(); });
}

void WindowHost::Beep() {
    RunOnGuiThread([] { QApplication::beep(); });
}

void WindowHost::MessageBox(const std::string& text, const std::string& caption) {
    RunOnGuiThread([&] {
        // Before the window is shown (the settings load at start-up) the box has no owner.
        QWidget* owner = frame_.isVisible() ? &frame_ : nullptr;
        QMessageBox box(QMessageBox::NoIcon, ToQ(caption), ToQ(text), QMessageBox::Ok, owner);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    });
}

void WindowHost::SetControlText(int id, const std::string& text) {
    RunOnGuiThread([&] { form_.SetControlText(id, ToQ(text)); });
}

void WindowHost::SetControlVisible(int id, bool visible) {
    RunOnGuiThread([&] { form_.SetControlVisible(id, visible); });
}

void WindowHost::SetControlReadOnly(int id, bool readOnly) {
    RunOnGuiThread([&] { form_.SetControlReadOnly(id, readOnly); });
}

GetParamsDialogAnswer WindowHost::RunGetParamsDialog(int portIndex, const std::string& path) {
    return RunOnGuiThread([&] {
        CGetParamsDlg dialog(portIndex, ToQ(path), &frame_);
        return dialog.Run();
    });
}

FirmwareDialogAnswer WindowHost::RunFirmwareDialog() {
    return RunOnGuiThread([&] {
        CFirmwareDlg dialog(&frame_);
        return dialog.Run();
    });
}

FileDialogAnswer WindowHost::RunFileDialog(const FileDialogRequest& request) {
    return RunOnGuiThread([&] { return vk930::RunFileDialog(request, &frame_); });
}

std::optional<std::string> WindowHost::CurrentDirectory() {
    const QString dir = QDir::currentPath();  // the process's: the same on every thread
    if (dir.isEmpty()) return std::nullopt;
    return ToStd(QDir::toNativeSeparators(dir));
}

bool WindowHost::SetCurrentDirectory(const std::string& path) {
    return QDir::setCurrent(ToQ(path));
}

void WindowHost::StartEditor(const std::string& path) {
    RunOnGuiThread([&] {
        if (const QString failure = LaunchEditor(ToQ(path), settings_); !failure.isEmpty())
            MessageBox(ToStd(failure), kFrameTitle);
    });
}

void WindowHost::SetDocumentTitle(const std::string& title) {
    RunOnGuiThread([&] { frame_.SetDocumentTitle(ToQ(title)); });
}

void WindowHost::StartFormTimer(int milliseconds) {
    RunOnGuiThread([&] { formTimer_.start(milliseconds); });
}

void WindowHost::StopFormTimer() {
    RunOnGuiThread([&] { formTimer_.stop(); });
}

void WindowHost::Progress(const ProgressReport& report) {
    RunOnGuiThread([&] { form_.Link().ShowProgress(report); });
}

}  // namespace vk930

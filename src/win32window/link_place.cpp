// The link control's place, as a two-line static control.
#include "win32window/link_place.h"

#include <algorithm>

#include "core/app/link_place_text.h"
#include "core/forms/form_ids.h"
#include "win32window/wide_text.h"

namespace vk930 {

namespace {

constexpr char kLineBreak[] = "\r\n";

}  // namespace

void LinkPlace::Attach(HWND form) {
    form_ = form;
    Render();
}

void LinkPlace::SetPortText(const std::string& text) {
    port_ = text;
    Render();
}

void LinkPlace::ShowProgress(const ProgressReport& report) {
    const auto now = std::chrono::steady_clock::now();
    switch (report.kind) {
        case ProgressKind::kUpload:
            // The time left is measured from the first report, when the image starts to go out.
            if (!uploading_) {
                uploading_ = true;
                uploadStart_ = now;
            }
            progress_ = UploadProgressText(
                report.done, report.total,
                std::chrono::duration_cast<std::chrono::milliseconds>(now - uploadStart_));
            break;
        case ProgressKind::kLines:
            progress_ = LinesProgressText(report.done);
            break;
        case ProgressKind::kWait:
            waitEnd_ = now + std::chrono::milliseconds(report.total);
            if (form_)
                SetTimer(form_, kCountdownTimer, static_cast<UINT>(kCountdownTick.count()),
                         nullptr);
            Tick();
            return;
    }
    Render();
}

void LinkPlace::ClearProgress() {
    if (form_) KillTimer(form_, kCountdownTimer);
    uploading_ = false;
    progress_.clear();
    Render();
}

void LinkPlace::Tick() {
    const auto left = std::max(std::chrono::steady_clock::duration::zero(),
                               waitEnd_ - std::chrono::steady_clock::now());
    progress_ = CountdownText(std::chrono::duration_cast<std::chrono::milliseconds>(left));
    if (left == std::chrono::steady_clock::duration::zero() && form_)
        KillTimer(form_, kCountdownTimer);
    Render();
}

void LinkPlace::Render() {
    if (!form_) return;
    std::string text = port_;
    if (!progress_.empty()) text += kLineBreak + progress_;
    SetDlgItemTextW(form_, id::kLinkControl, Widen(text).c_str());
}

}  // namespace vk930

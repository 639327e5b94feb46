#pragma once
// The link control's place on the Win32 form (control 1024): what the current COM port
// reaches on its first line and, while a job runs, how far it has got on the second, in the
// same texts as every window. A countdown is redrawn by a timer of the form's own.
#include <windows.h>

#include <chrono>
#include <string>

#include "core/commands/host.h"

namespace vk930 {

// The countdown's timer on the form; the form timer proper is id::kFormTimer.
inline constexpr UINT_PTR kCountdownTimer = 2;

class LinkPlace {
  public:
    // The form holding the control; until then every call does nothing.
    void Attach(HWND form);

    void SetPortText(const std::string& text);
    void ShowProgress(const ProgressReport& report);
    void ClearProgress();
    // The countdown timer expired.
    void Tick();

    const std::string& PortText() const { return port_; }
    const std::string& ProgressText() const { return progress_; }

  private:
    void Render();

    HWND form_ = nullptr;
    std::string port_;
    std::string progress_;
    bool uploading_ = false;
    std::chrono::steady_clock::time_point uploadStart_;
    std::chrono::steady_clock::time_point waitEnd_;
};

}  // namespace vk930

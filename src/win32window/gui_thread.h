#pragma once
// Carries calls to the GUI thread, where the frame's windows, the form timer and the modal
// dialogs live: a message-only window made on that thread runs each call it is handed. A call
// sent from another thread waits until it has run; a posted one runs later, in order.
#include <windows.h>

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace vk930 {

class GuiThread {
  public:
    // Made on the GUI thread, which it then serves.
    GuiThread();
    ~GuiThread();
    GuiThread(const GuiThread&) = delete;
    GuiThread& operator=(const GuiThread&) = delete;

    bool OnGuiThread() const { return GetCurrentThreadId() == thread_; }
    // Runs `call` on the GUI thread and waits for it; on the GUI thread it runs at once.
    void Send(const std::function<void()>& call);
    // Queues `call` for the GUI thread's message loop; false when the window has gone.
    bool Post(std::function<void()> call);

    template <typename Call>
    auto Run(Call&& call) -> std::invoke_result_t<Call> {
        using R = std::invoke_result_t<Call>;
        if constexpr (std::is_void_v<R>) {
            Send(std::function<void()>(std::forward<Call>(call)));
        } else {
            std::optional<R> result;
            Send([&] { result.emplace(call()); });
            return std::move(*result);
        }
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DWORD thread_;
    HWND window_ = nullptr;
};

// Serves the GUI thread's messages (sent calls among them) until `done` holds; how the GUI
// thread waits for a job thread that may be waiting for it.
void PumpUntil(const std::function<bool()>& done);

}  // namespace vk930

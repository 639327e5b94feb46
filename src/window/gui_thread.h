#pragma once
// Runs a call on the GUI thread and waits for it: how the command's thread reaches widgets,
// timers and modal dialogs, which live on the GUI thread only. On the GUI thread the call
// runs at once.
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <optional>
#include <type_traits>
#include <utility>

namespace vk930 {

inline bool OnGuiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

template <typename Call>
auto RunOnGuiThread(Call&& call) -> std::invoke_result_t<Call> {
    using R = std::invoke_result_t<Call>;
    if (OnGuiThread()) return call();
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::forward<Call>(call),
                                  Qt::BlockingQueuedConnection);
    } else {
        std::optional<R> result;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&] { result.emplace(call()); },
            Qt::BlockingQueuedConnection);
        return std::move(*result);
    }
}

}  // namespace vk930

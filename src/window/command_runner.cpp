#include "window/command_runner.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace vk930 {

CommandRunner::CommandRunner() : worker_(new QObject) {
    thread_.setObjectName(QStringLiteral("command"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

CommandRunner::~CommandRunner() {
    WaitForIdle();
    thread_.quit();
    thread_.wait();
}

void CommandRunner::WaitForIdle() {
    // A command still running may be waiting for the GUI thread: serve it until it returns.
    while (running_) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool CommandRunner::Start(std::function<void()> command, std::function<void()> done) {
    if (running_) return false;
    running_ = true;
    QMetaObject::invokeMethod(
        worker_,
        [this, command = std::move(command), done = std::move(done)]() mutable {
            command();
            QMetaObject::invokeMethod(
                this,
                [this, done = std::move(done)] {
                    running_ = false;
                    if (done) done();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

void CommandRunner::RunAndWait(const std::function<void()>& call) {
    if (running_) return;
    QMetaObject::invokeMethod(worker_, call, Qt::BlockingQueuedConnection);
}

}  // namespace vk930

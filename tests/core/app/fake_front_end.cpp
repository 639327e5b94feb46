// The recording window and the queued job runner of the application's tests.
#include "fake_front_end.h"

#include <gtest/gtest.h>

namespace vk930::test {

bool QueuedRunner::Start(std::function<void()> job, std::function<void()> done) {
    if (running_) {
        ++refused;
        return false;
    }
    ++starts;
    running_ = true;
    job_ = std::move(job);
    done_ = std::move(done);
    return true;
}

void QueuedRunner::RunAndWait(const std::function<void()>& call) {
    ++runAndWaits;
    if (!running_ && call) call();
}

void QueuedRunner::Finish() {
    ASSERT_TRUE(running_) << "no job waits";
    job_();
    running_ = false;
    const std::function<void()> done = std::move(done_);
    if (done) done();
}

bool FakeFrontEnd::AskYesNo(const std::string& question) {
    questions.push_back(question);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void FakeFrontEnd::CloseWindow() {
    ++closeRequests;
    if (app && app->AllowClose()) closed = true;
}

std::optional<std::string> FakeFrontEnd::AskFileToOpen() {
    if (openAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

bool FakeFrontEnd::RunDevicesDialog() {
    if (devicesAnswers.empty()) return false;
    const bool changed = devicesAnswers.front();
    devicesAnswers.pop_front();
    return changed;
}

}  // namespace vk930::test

#pragma once
// A window for the application without a toolkit: it records what the application asks of
// it, answers its questions as scripted, and runs jobs only when the test lets them finish,
// so that a test can act while a job runs.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/app/application.h"
#include "core/app/front_end.h"
#include "core/forms/menu_template.h"
#include "core/settings/recent_files.h"
#include "support/fake_host.h"

namespace vk930::test {

class MemoryRecentFiles : public RecentFileStore {
  public:
    std::vector<std::string> files;
    std::vector<std::string> RecentFiles() const override { return files; }
    void AddRecentFile(const std::string& path) override {
        files = RecentFilesAfterOpening(files, path, kRecentFileCount);
    }
};

// Jobs wait until Finish(); RunAndWait runs at once (the test has one thread).
class QueuedRunner : public JobRunner {
  public:
    bool Start(std::function<void()> job, std::function<void()> done) override;
    bool Running() const override { return running_; }
    void RunAndWait(const std::function<void()>& call) override;
    // Runs the waiting job, then its callback, as the GUI thread would after the job.
    void Finish();

    int starts = 0;
    int refused = 0;  // Start while a job ran
    int runAndWaits = 0;

  private:
    bool running_ = false;
    std::function<void()> job_;
    std::function<void()> done_;
};

class FakeFrontEnd : public FrontEnd {
  public:
    explicit FakeFrontEnd(FakeHost& host) : host_(host) {}

    // The application closes through the window, which asks it first.
    Application* app = nullptr;

    std::vector<bool> busy;  // every SetBusy, in order
    std::vector<std::string> questions;
    std::deque<bool> answers;  // empty: no
    int closeRequests = 0;
    bool closed = false;
    int abouts = 0;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<bool> devicesAnswers;
    int seriesDialogs = 0;
    std::vector<std::string> portTexts;
    int progressClears = 0;
    std::map<int, std::pair<bool, std::string>> comPortItems;
    std::vector<bool> fits;  // shrinkOnly of each FitToForm

    void SetBusy(bool value) override { busy.push_back(value); }
    bool AskYesNo(const std::string& question) override;
    void CloseWindow() override;
    void ShowAbout() override { ++abouts; }
    std::optional<std::string> AskFileToOpen() override;
    bool RunDevicesDialog() override;
    void RunSeriesDialog() override { ++seriesDialogs; }
    // A Tools dialog: the test drives the controller in `onTool`, as the dialog would.
    std::function<void(ToolController&)> onTool;
    int toolDialogs = 0;
    void RunToolDialog(ToolController& controller) override {
        ++toolDialogs;
        if (onTool) onTool(controller);
    }
    void ShowPortReach(const std::string& text) override { portTexts.push_back(text); }
    void ClearProgress() override { ++progressClears; }
    void ShowComPortItem(int port, bool checked, const std::string& reach) override {
        comPortItems[port] = {checked, reach};
    }
    void FitToForm(bool shrinkOnly) override { fits.push_back(shrinkOnly); }
    bool FormTimerPending() const override { return host_.timerMs >= 0; }

  private:
    FakeHost& host_;
};

}  // namespace vk930::test

#pragma once
// The logic of the "Number a series" dialog (template 141), toolkit-free: which choices it
// starts with, whether they make a series, the series itself (SeriesJob on the window's job
// thread, a station per ticked port), the table rows and totals made of the stations' events,
// and Stop and Close, which ask once. A window renders the dialog (SeriesDialogView) and
// forwards its buttons here.
//
// Thread: every call below, and every call into the view, is made on the GUI thread.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/front_end.h"
#include "core/base/result.h"
#include "core/link/com_port_names.h"
#include "core/registry/terminal_registry.h"
#include "core/series/hosted_station.h"
#include "core/series/series_job.h"

namespace vk930 {

// What the dialog's controls say.
struct SeriesChoices {
    bool nextId = true;   // the next ID after the stored one; else `firstId`
    std::string firstId;  // as typed
    std::string count;    // terminals at each station, as typed
    bool untilStopped = false;
    std::string setFile;  // empty: no Set
    bool verify = true;
    std::array<bool, kPortCount> ports{};  // COM1 to COM8
    bool operator==(const SeriesChoices&) const = default;
};

// A series the choices make.
struct SeriesPlan {
    std::optional<int> firstId;
    int count = 0;  // 0: until stopped
    std::optional<std::string> setFile;
    bool verify = true;
    std::vector<int> ports;
};

// The plan, or what is wrong with the choices and what to do about it.
Result<SeriesPlan> PlanOf(const SeriesChoices& choices,
                          const std::function<bool(const std::string& path)>& fileExists);

// One line of the table of terminals.
struct SeriesRow {
    int port = 0;
    StationStep step = StationStep::kWaiting;
    std::string state;  // what the station is doing with the terminal, for people
    std::string commId;
    std::string time;
    bool removeIt = false;  // "done: remove it": shown so that it is seen across the bench
    bool operator==(const SeriesRow&) const = default;
};

// The dialog on screen.
class SeriesDialogView {
  public:
    virtual ~SeriesDialogView() = default;
    virtual void ShowChoices(const SeriesChoices& choices) = 0;
    // The label naming where the IDs come from and the records go.
    virtual void ShowRegistry(const std::string& text) = 0;
    // Row `index` of the table; an index one past the last adds the row.
    virtual void ShowRow(std::size_t index, const SeriesRow& row) = 0;
    virtual void ShowTotals(const std::string& text) = 0;
    // While running the choices and Start take no input, Stop does until a stop is asked.
    virtual void ShowRunning(bool running, bool stopping) = 0;
    // A box with OK.
    virtual void Tell(const std::string& text) = 0;
    // A question with yes and no, no the default; true for yes.
    virtual bool Ask(const std::string& question) = 0;
    // The open dialog for a parameter file; nullopt when cancelled.
    virtual std::optional<std::string> AskParameterFile() = 0;
    virtual void Close() = 0;
};

// What the window gives the dialog; all of it outlives the dialog.
struct SeriesDialogParts {
    TerminalRegistry* registry = nullptr;  // the counter and records; null: none opened
    std::string registryProblem;           // why none, when null
    std::string sharedRegistry;            // the shared registry's masked address; empty: none
    int currentPort = 1;
    StationKit kit;
    std::function<std::unique_ptr<StationThreads>()> makeThreads;
    JobRunner* runner = nullptr;
    // Runs `call` on the GUI thread after the calls posted before it; from any thread.
    std::function<void(std::function<void()> call)> post;
    std::function<std::string()> newSeriesId;
    std::function<bool(const std::string& path)> fileExists;
};

class SeriesDialog {
  public:
    SeriesDialog(SeriesDialogParts parts, SeriesDialogView& view);
    ~SeriesDialog();

    // Shows the first choices (the next ID, the current port ticked, verify on) and the registry.
    void Open();
    void OnBrowse(SeriesChoices choices);
    void OnStart(const SeriesChoices& choices);
    void OnStop();
    // The dialog is to close: true lets it. While a series runs, asks once whether to stop it;
    // yes closes the dialog once every station has stopped.
    bool OnClose();

    bool Running() const { return running_; }
    const std::vector<SeriesRow>& Rows() const { return rows_; }
    const std::string& TotalsText() const { return totals_; }

  private:
    bool AskStop();
    void OnEvent(const StationEvent& event);
    void OnEnded();
    void Show(std::size_t index);
    void ShowTotals();
    std::string RegistryText();

    SeriesDialogParts parts_;
    SeriesDialogView& view_;
    std::unique_ptr<SeriesLedger> ledger_;
    std::unique_ptr<SeriesJob> job_;
    std::vector<StationEnd> ends_;
    std::vector<SeriesRow> rows_;
    std::map<int, std::size_t> openRow_;  // by port: the row of its terminal
    std::string totals_;
    bool running_ = false;
    bool stopping_ = false;
    bool closeWhenEnded_ = false;
};

// What a series that ended leaves: the terminals done, every ID reserved and not written and
// why, and how each station ended. One line each.
std::string WhatSeriesLeft(const std::vector<StationEnd>& ends,
                           const std::vector<SeriesRecord>& records, bool stopped);

}  // namespace vk930

#include "support/matrix_run.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "core/link/tracing_link.h"
#include "core/terminal/terminal_model.h"
#include "core/wire/serial_link.h"
#include "platform/qt_serial_port.h"
#include "support/link_fixture.h"
#include "support/memory_settings.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace vk930::test {

namespace {

// The text with the run's own folder named "<dir>", so that runs in different folders compare.
std::string WithoutFolder(std::string text, const std::string& dir) {
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at))
        text.replace(at, dir.size(), "<dir>");
    return text;
}

class MatrixRun {
  public:
    explicit MatrixRun(const MatrixOptions& options)
        : options_(options), stateFile_(dir_.File("terminal.bin")), devicePath_(dir_.File("vk")) {}
    RunRecord Record(MatrixCommand command, const std::string& simOptions);

  private:
    bool StartSimulator(const std::string& simOptions);
    void BuildView();
    void Snapshot(RunRecord& record);
    bool LaterCommandWorks();

    const MatrixOptions& options_;
    TempDir dir_;
    std::string stateFile_;
    std::string devicePath_;
    FakeHost host_;
    MemorySettings settings_;
    AppState state_;
    std::vector<std::string> calls_;
    // Destroyed view first, then the link (which closes the port), then the simulator.
    std::unique_ptr<SimProcess> sim_;
    SerialLink* serial_ = nullptr;
    std::unique_ptr<CLinkCtrl> link_;
    std::unique_ptr<CVK900ConfigView> view_;
};

RunRecord MatrixRun::Record(MatrixCommand command, const std::string& simOptions) {
    RunRecord record;
    TerminalSpec factory;
    factory.stateFile = stateFile_;
    if (!TerminalModel::Create(factory) || !StartSimulator(simOptions)) {
        record.log = {{"vk930-sim did not start: " + (sim_ ? sim_->Errors() : ""), kIconFailure}};
        return record;
    }
    record.pagesBefore = ReadFile(stateFile_);
    BuildView();
    PrepareCommand(command, dir_.Path().string(), options_.firmwareFile, host_, state_);
    record.parameterFileBefore = ReadFile(ParameterFilePath(dir_.Path().string()));
    const auto start = std::chrono::steady_clock::now();
    record.outcome = RunCommand(command, *view_);
    record.time = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    Snapshot(record);
    record.laterCommandWorks = LaterCommandWorks();
    return record;
}

bool MatrixRun::StartSimulator(const std::string& simOptions) {
    const std::string spec = "sim:" + stateFile_ + (simOptions.empty() ? "" : "?" + simOptions);
    sim_ = std::make_unique<SimProcess>(options_.simulator, devicePath_, spec);
    return sim_->Ready();
}

// The window's logic after start-up, on the serial link with the matrix's waits.
void MatrixRun::BuildView() {
    EnsureQtApplication();
    auto serial =
        std::make_unique<SerialLink>(std::make_unique<QtSerialPort>(devicePath_), options_.timings,
                                     LinkErrorSink{}, BootFileLookup{options_.bootDir});
    serial_ = serial.get();
    link_ = std::make_unique<TracingLink>(
        std::move(serial), [this](const std::string& line) { calls_.push_back(line); });
    view_ = std::make_unique<CVK900ConfigView>(host_, *link_, settings_, state_);
    view_->OnInitialUpdate();
    view_->OnTimer();
    host_ = FakeHost{};
}

void MatrixRun::Snapshot(RunRecord& record) {
    const std::string dir = dir_.Path().string();
    for (const LogEntry& entry : host_.log)
        record.log.push_back({WithoutFolder(entry.text, dir), entry.kind});
    for (const std::string& call : calls_) record.calls.push_back(WithoutFolder(call, dir));
    for (const auto& [id, text] : host_.texts) record.fields[id] = WithoutFolder(text, dir);
    record.pagesAfter = ReadFile(stateFile_);
    record.parameterFile = ReadFile(ParameterFilePath(dir_.Path().string()));
    record.firmware =
        ReadFile(FirmwareFilePath(stateFile_)) + "|" + ReadFile(VersionFilePath(stateFile_));
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
        record.folder.push_back(entry.path().filename().string());
    std::sort(record.folder.begin(), record.folder.end());
    record.requests = serial_->Sends();
}

// A healthy terminal on the same device path: the command released the port when an
// identification through the same link and window then succeeds.
bool MatrixRun::LaterCommandWorks() {
    sim_->Stop();
    if (!StartSimulator("")) return false;
    host_.log.clear();
    view_->OnReadDeviceInfo();
    return !host_.log.empty() && host_.log.back() == LogEntry{"Done", kIconSuccess};
}

}  // namespace

RunRecord RecordRun(const MatrixOptions& options, MatrixCommand command,
                    const std::string& simOptions) {
    return MatrixRun(options).Record(command, simOptions);
}

}  // namespace vk930::test

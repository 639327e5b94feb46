#pragma once
// The simulated VK930 terminal: its two parameter pages, its identity, its reset and its
// injected faults. The in-process link and the vk930-sim program both serve this one model.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/firmware/boot_loader.h"
#include "core/link/page_copy.h"
#include "core/terminal/link_spec.h"
#include "core/terminal/plug_schedule.h"

namespace vk930 {

inline constexpr int kStateFileSize = 2 * kPageSize;

// Where a terminal with a state file keeps its uploaded firmware (Intel HEX) and version.
std::string FirmwareFilePath(const std::string& stateFile);  // STATEFILE.fw
std::string VersionFilePath(const std::string& stateFile);   // STATEFILE.version
// Where a series keeps what its N-th terminal held when it was removed: STATEFILE.N.
std::string RemovedTerminalPath(const std::string& stateFile, int number);

// The pages a new terminal leaves the factory with.
std::array<PageBytes, 2> FactoryPages();
// The CommID page 0 carries (bytes 1 and 2, high first).
inline int PageCommId(const PageBytes& page0) {
    return page0[1] * 256 + page0[2];
}

class TerminalModel {
  public:
    // Opens the terminal of a spec. A state file that is missing is created with the factory
    // pages; one that cannot be read or is not exactly 512 bytes is an error. The firmware
    // an earlier upload left beside the state file (FirmwareFilePath, VersionFilePath) is
    // loaded too; its version replaces the link spec's.
    static Result<std::unique_ptr<TerminalModel>> Create(const TerminalSpec& spec);

    const TerminalSpec& Spec() const { return spec_; }
    // Whether a terminal is plugged in. In a series (series=N) terminals come and go on the
    // clock: asking moves the series on to now.
    bool Present();
    int DeviceType() const { return spec_.deviceType; }
    std::string Version() const { return version_; }
    void SetVersion(std::string version) { version_ = std::move(version); }

    // A page as the terminal holds it, fetched over the link (honours fail=pageN).
    std::optional<PageBytes> ReadPage(int page);
    // Programs bytes; false when the fault options say so, when the address is outside the
    // page, or when the state file cannot be written. Nothing is written on failure.
    bool WriteByte(int page, int offset, int value);
    bool WriteText(int page, int offset, const std::string& bytes);
    // Restarts the terminal; false when the fault options say it refuses (fail=reset).
    bool Reset();

    // The image in the terminal's flash: empty until an upload.
    const FirmwareImage& Firmware() const { return firmware_; }
    // Takes a verified upload: the new flash and, unless `version` is empty, the version the
    // terminal reports from now on. With a state file both are stored beside it for the
    // next process; nothing changes when they cannot be stored.
    Status InstallFirmware(const FirmwareImage& image, const std::string& version);

    // Inspection without faults, for tests and the simulator.
    PageBytes Page(int page);
    int ResetCount() const { return resetCount_; }
    int WriteByteCount() const { return writeByteCount_; }
    int WriteTextCount() const { return writeTextCount_; }

    // A series of terminals. The clock runs in milliseconds (default: the steady clock);
    // `events` hears "terminal N plugged in" and "terminal N removed".
    using Clock = std::function<std::int64_t()>;
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    void SetEventSink(std::function<void(const std::string&)> events) {
        events_ = std::move(events);
    }
    // Step by step, whatever the clock says.
    void RemoveTerminal();
    void PlugInTerminal();
    // The number of the terminal at the port, or of the last one removed (from 1).
    int TerminalNumber() const { return schedule_.Number(); }
    // The pages of each removed terminal, in the order they were removed.
    const std::vector<std::array<PageBytes, 2>>& RemovedTerminals() const { return removed_; }

  private:
    explicit TerminalModel(TerminalSpec spec)
        : spec_(std::move(spec)), version_(spec_.version), schedule_(spec_.series) {}
    Status Load();
    Status LoadFirmware();
    bool Store(int page, int offset, const std::string& bytes);
    // Counts a write that passed its checks; true for the one fail=lose:N drops silently.
    bool LosesThisWrite();
    static bool Fits(int page, int offset, size_t size);
    bool InSeries() const { return spec_.series.count > 0; }
    std::int64_t Now() const;
    void Apply(PlugSchedule::Event event);

    TerminalSpec spec_;
    std::string version_;
    std::array<PageBytes, 2> pages_{};
    FirmwareImage firmware_;
    int resetCount_ = 0;
    int writeByteCount_ = 0;
    int writeTextCount_ = 0;
    int writeCount_ = 0;  // WriteByte and WriteText together, for fail=lose:N
    PlugSchedule schedule_;
    Clock clock_;
    std::function<void(const std::string&)> events_;
    std::vector<std::array<PageBytes, 2>> removed_;
};

}  // namespace vk930

#pragma once
// The simulated VK930 terminal: its two parameter pages, its identity, its reset and its
// injected faults. The in-process link and the vk930-sim program both serve this one model.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/base/result.h"
#include "core/firmware/boot_loader.h"
#include "core/link/page_copy.h"
#include "core/terminal/link_spec.h"

namespace vk930 {

inline constexpr int kStateFileSize = 2 * kPageSize;

// Where a terminal with a state file keeps its uploaded firmware (Intel HEX) and version.
std::string FirmwareFilePath(const std::string& stateFile);  // STATEFILE.fw
std::string VersionFilePath(const std::string& stateFile);   // STATEFILE.version

// The pages a new terminal leaves the factory with.
std::array<PageBytes, 2> FactoryPages();

class TerminalModel {
  public:
    // Opens the terminal of a spec. A state file that is missing is created with the factory
    // pages; one that cannot be read or is not exactly 512 bytes is an error. The firmware
    // an earlier upload left beside the state file (FirmwareFilePath, VersionFilePath) is
    // loaded too; its version replaces the link spec's.
    static Result<std::unique_ptr<TerminalModel>> Create(const TerminalSpec& spec);

    const TerminalSpec& Spec() const { return spec_; }
    bool Present() const { return !spec_.absent; }
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
    bool Reset() {
        if (spec_.faults.failReset) return false;
        ++resetCount_;
        return true;
    }

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

  private:
    explicit TerminalModel(TerminalSpec spec) : spec_(std::move(spec)), version_(spec_.version) {}
    Status Load();
    Status LoadFirmware();
    bool Store(int page, int offset, const std::string& bytes);
    // Counts a write that passed its checks; true for the one fail=lose:N drops silently.
    bool LosesThisWrite();
    static bool Fits(int page, int offset, size_t size);

    TerminalSpec spec_;
    std::string version_;
    std::array<PageBytes, 2> pages_{};
    FirmwareImage firmware_;
    int resetCount_ = 0;
    int writeByteCount_ = 0;
    int writeTextCount_ = 0;
    int writeCount_ = 0;  // WriteByte and WriteText together, for fail=lose:N
};

}  // namespace vk930

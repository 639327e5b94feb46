#pragma once
// The simulated VK930 terminal: its two parameter pages, its identity, its reset and its
// injected faults. The in-process link and the vk930-sim program both serve this one model.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/result.h"
#include "link/page_copy.h"
#include "sim/link_spec.h"

namespace vk930 {

inline constexpr int kStateFileSize = 2 * kPageSize;

// The pages a new terminal leaves the factory with.
std::array<PageBytes, 2> FactoryPages();

class TerminalModel {
public:
    // Opens the terminal of a spec. A state file that is missing is created with the factory
    // pages; one that cannot be read or is not exactly 512 bytes is an error.
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
    void Reset() { ++resetCount_; }

    // Inspection without faults, for tests and the simulator.
    PageBytes Page(int page);
    int ResetCount() const { return resetCount_; }
    int WriteByteCount() const { return writeByteCount_; }
    int WriteTextCount() const { return writeTextCount_; }

private:
    explicit TerminalModel(TerminalSpec spec) : spec_(std::move(spec)), version_(spec_.version) {}
    Status Load();
    bool Store(int page, int offset, const std::string& bytes);

    TerminalSpec spec_;
    std::string version_;
    std::array<PageBytes, 2> pages_{};
    int resetCount_ = 0;
    int writeByteCount_ = 0;
    int writeTextCount_ = 0;
};

}  // namespace vk930

// A parameter file into the Set run on the simulated terminal: no crash, no hang, and every
// link call stays in bounds (checked by BoundsCheckingLink on each call). The first byte picks
// how the run starts: the "Set" button, or the hidden "&Set..." button with the raw-dump flag
// clear or set.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "bounds_checking_link.h"
#include "core/commands/app_state.h"
#include "core/commands/config_view.h"
#include "core/settings/settings_backend.h"
#include "core/terminal/sim_link.h"
#include "quiet_host.h"

namespace {

class NoSettings : public vk930::SettingsBackendFactory {
    class Closed : public vk930::SettingsBackend {
        int Open() override { return 2; }
        std::optional<std::int32_t> Query(const std::string&) override { return std::nullopt; }
        bool Set(const std::string&, std::int32_t) override { return false; }
        std::optional<std::string> QueryText(const std::string&) override { return std::nullopt; }
        bool SetText(const std::string&, const std::string&) override { return false; }
        void Close() override {}
    };

  public:
    std::unique_ptr<vk930::SettingsBackend> Make() override { return std::make_unique<Closed>(); }
};

const std::string& FilePath() {
    static const std::string path = "/tmp/vk930-fuzz-set-" + std::to_string(getpid()) + ".pcg";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int mode = data[0] % 3;
    {
        std::ofstream file(FilePath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    auto terminal = vk930::TerminalModel::Create(vk930::TerminalSpec{});
    std::shared_ptr<vk930::TerminalModel> model = std::move(terminal.value());
    vk930::fuzz::BoundsCheckingLink link(std::make_unique<vk930::SimLink>(model));
    vk930::fuzz::QuietHost host;
    NoSettings settings;
    vk930::AppState state;
    state.document.m_strFilePath = FilePath();
    vk930::CVK900ConfigView view(host, link, settings, state);
    if (mode == 0) {
        view.OnSet();
    } else {
        state.rawDump = mode == 2;
        link.Connect(1, 19200);
        link.ReadPage0(0, 255);
        link.ReadPage1(0, 255);
        view.OnSetParameters();
    }
    return 0;
}

// Times terminal commands over the serial link to a paced vk930-sim and prints each as a
// ratio to the physical limit: the bytes the command must move at the line rate (10 bits a
// byte) plus the waits the commands prescribe. Goals: the page fetch and the firmware upload
// within 1.1, every other command within 1.3.
//   serial_link_bench [IMAGE_KIB]
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>

#include "bench/serial/counting_port.h"
#include "core/commands/config_view.h"
#include "core/firmware/intel_hex.h"
#include "core/wire/serial_link.h"
#include "platform/qt_serial_port.h"
#include "support/fake_host.h"
#include "support/memory_settings.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

using namespace vk930;
using namespace vk930::test;
using vk930::bench::CountingPort;

namespace {

struct Case {
    const char* name;
    int baud;
    std::size_t essentialBytes;  // what the command cannot do without moving
    double goal;
    std::function<void(CVK900ConfigView&, CLinkCtrl&)> run;
};

std::string MakeImage(const TempDir& dir, std::size_t kib) {
    FirmwareImage image;
    image.segments.push_back({0, std::vector<std::uint8_t>(kib * 1024)});
    for (std::size_t i = 0; i < image.segments[0].bytes.size(); ++i)
        image.segments[0].bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::string path = dir.File("hsbt16.a20");
    std::ofstream(path) << WriteIntelHex(image);
    return path;
}

std::size_t BootFileBytes() {
    std::ifstream in(std::string(VK930_BOOT_DIR) + "/boot.a20");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    Result<FirmwareImage> boot = ParseIntelHex(text);
    return boot ? boot->ByteCount() : 0;
}

void Measure(const Case& c, const std::string& device, const BootFileLookup& bootFiles) {
    FakeHost host;
    MemorySettings settings;
    AppState state;
    std::size_t moved = 0;
    SerialLink link(std::make_unique<CountingPort>(std::make_unique<QtSerialPort>(device), moved),
                    WireTimings{}, {}, bootFiles);
    CVK900ConfigView view(host, link, settings, state);
    const auto start = std::chrono::steady_clock::now();
    c.run(view, link);
    const double wireMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double waits = static_cast<double>(host.clockMs);  // the virtual clock's sleeps
    const double wall = wireMs + waits;
    const double minimum = static_cast<double>(c.essentialBytes) * 10'000.0 / c.baud + waits;
    const bool ok = !host.log.empty() && host.log.back().kind == kIconSuccess;
    std::printf("%-16s %9.1f %9zu %9zu %9.1f %7.3f %6.2f  %s\n", c.name, wall, moved,
                c.essentialBytes, minimum, wall / minimum, c.goal,
                !ok ? "FAILED" : (wall / minimum <= c.goal ? "meets" : "misses"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::size_t kib = argc > 1 ? std::stoul(argv[1]) : 16;
    TempDir dir;
    const std::string device = dir.File("vk");
    SimProcess sim(VK930SIM_PATH, device, "sim:" + dir.File("t.bin"), /*pace=*/true);
    if (!sim.Ready()) {
        std::fprintf(stderr, "vk930-sim did not start: %s\n", sim.Errors().c_str());
        return 1;
    }
    const std::string firmware = MakeImage(dir, kib);
    const BootFileLookup bootFiles{VK930_BOOT_DIR};
    const std::vector<Case> cases = {
        {"page fetches", 19200, 2 * 256, 1.1,
         [](CVK900ConfigView& v, CLinkCtrl& link) {
             link.Connect(1, kBaudApplication);
             const bool read = link.ReadPage0(0, 255) && link.ReadPage1(0, 255);
             link.Connect(1, kBaudClose);
             v.Context().Log(read ? "Done" : "failed", read ? kIconSuccess : kIconFailure);
         }},
        {"identification", 19200, 256, 1.3,
         [](CVK900ConfigView& v, CLinkCtrl&) { v.OnReadDeviceInfo(); }},
        {"CommID", 19200, 2 + 256, 1.3,
         [](CVK900ConfigView& v, CLinkCtrl&) {
             v.OnCommIdEdited("300");
             v.OnSetCommId();
         }},
        {"firmware", 4800, kib * 1024 + BootFileBytes(), 1.1,
         [&](CVK900ConfigView& v, CLinkCtrl& link) {
             link.Connect(1, kBaudBootLoader);
             const Short status = link.UploadFirmware(firmware);
             link.Connect(0, kBaudBootLoader);
             v.Context().Log(status == kUploadSucceeded ? "UPLOADING DONE" : "failed",
                             status == kUploadSucceeded ? kIconSuccess : kIconFailure);
         }},
    };
    std::printf("%-16s %9s %9s %9s %9s %7s %6s\n", "command", "wall ms", "wire B", "needed B",
                "min ms", "ratio", "goal");
    for (const Case& c : cases) Measure(c, device, bootFiles);
    return 0;
}

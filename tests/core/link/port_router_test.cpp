#include "core/link/port_router.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/firmware/boot_loader.h"
#include "core/link/tracing_link.h"
#include "core/terminal/sim_factory.h"
#include "core/terminal/sim_link.h"
#include "support/temp_dir.h"

namespace vk930 {
namespace {

TEST(PortRouter, EachPortReachesItsOwnTerminalAndKeepsIt) {
    int opened = 0;
    PortRouter router(
        [&](Short port) -> Result<std::unique_ptr<CLinkCtrl>> {
            ++opened;
            TerminalSpec spec;
            spec.deviceType = port;  // tells the terminals apart
            return MakeSimLink(spec);
        },
        nullptr);
    ASSERT_TRUE(router.Connect(2, 19200));
    EXPECT_EQ(router.GetDeviceType(), 2);
    EXPECT_EQ(router.WriteByte(3, 77, 0), 1);
    router.Connect(2, 0);
    EXPECT_EQ(router.GetDeviceType(), -1);  // closed: nothing answers
    ASSERT_TRUE(router.Connect(5, 19200));
    EXPECT_EQ(router.GetDeviceType(), 5);
    ASSERT_TRUE(router.Connect(2, 19200));  // switching ports closes the other
    ASSERT_TRUE(router.ReadPage0(0, 255));
    EXPECT_EQ(router.GetByte(0, 3), 77);  // same terminal as before
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(router.Connect(2, 19200));  // already open: still TRUE
}

TEST(PortRouter, ClosedPortFailsEveryOperation) {
    PortRouter router([](Short) { return MakeSimLink(TerminalSpec{}); }, nullptr);
    EXPECT_EQ(router.ReadInfo(), 0);
    EXPECT_EQ(router.GetDeviceType(), -1);
    EXPECT_FALSE(router.ReadPage0(0, 255));
    EXPECT_FALSE(router.ReadPage1(0, 255));
    EXPECT_EQ(router.WriteByte(1, 1, 0), -1);
    EXPECT_FALSE(router.WriteText(0, 1, "X"));
    EXPECT_EQ(router.GetVersionText(), "");
    EXPECT_EQ(router.GetCommIdText(), "");
    EXPECT_EQ(router.GetText(0, 0, 5), "");
    EXPECT_FALSE(router.Connect(1, 0));  // closing a closed port is harmless
    EXPECT_FALSE(router.Connect(0, 19200));
}

TEST(PortRouter, ConfigurationErrorIsReportedAndConnectFails) {
    std::string reported;
    PortRouter router([](Short) -> Result<std::unique_ptr<CLinkCtrl>> { return Error{"bad spec"}; },
                      [&](const std::string& m) { reported = m; });
    EXPECT_FALSE(router.Connect(4, 19200));
    EXPECT_EQ(reported, "COM4: bad spec");
}

TEST(PortRouter, NullLinkMeansNothingOnThePort) {
    PortRouter router([](Short) { return Result<std::unique_ptr<CLinkCtrl>>(nullptr); }, nullptr);
    EXPECT_FALSE(router.Connect(1, 19200));
}

// Each port's link behind a trace, as a sim spec with trace=FILE makes it.
struct TracedPorts {
    std::vector<std::string> lines;
    LinkOpener Opener() {
        return [this](Short) -> Result<std::unique_ptr<CLinkCtrl>> {
            auto terminal = TerminalModel::Create(TerminalSpec{});
            if (!terminal) return Error{terminal.error()};
            return std::unique_ptr<CLinkCtrl>(std::make_unique<TracingLink>(
                std::make_unique<SimLink>(std::move(terminal.value())),
                [this](const std::string& line) { lines.push_back(line); }));
        };
    }
};

TEST(PortRouter, PassesEveryCallOnAsTheProgramMadeIt) {
    TracedPorts ports;
    PortRouter router(ports.Opener(), nullptr);
    ASSERT_TRUE(router.Connect(1, 19200));
    router.Connect(1, 0);             // the identification's own close
    router.Connect(1, 0);             // and the CommID command's
    EXPECT_EQ(router.ReadInfo(), 0);  // the closed port's link says so itself
    ASSERT_TRUE(router.Connect(1, 4800));
    router.Connect(0, 4800);  // the end of a firmware upload
    EXPECT_EQ(router.GetDeviceType(), -1);
    EXPECT_EQ(ports.lines,
              (std::vector<std::string>{"Connect(1,19200)=1", "Connect(1,0)=0", "Connect(1,0)=0",
                                        "ReadInfo()=0", "Connect(1,4800)=1", "Connect(0,4800)=0",
                                        "GetDeviceType()=-1"}));
}

// With nothing open an upload still reads its files first, as every link does: the
// technician hears of a missing file before hearing that nothing answers.
TEST(PortRouter, UploadWithNothingOpenNamesAMissingFileFirst) {
    test::TempDir elsewhere;
    const std::string firmware = std::string(VK930_FIRMWARE_DATA_DIR) + "/hsbt15.a20";
    const BootFileLookup withBoot{VK930_BOOT_DIR};
    const BootFileLookup noBoot{elsewhere.Path().string()};
    const auto nothing = [](Short) { return Result<std::unique_ptr<CLinkCtrl>>(nullptr); };
    TracedPorts ports;
    struct Case {
        std::string name;
        std::function<std::unique_ptr<PortRouter>(const BootFileLookup&)> make;
    };
    const std::vector<Case> cases = {
        {"never opened",
         [&](const BootFileLookup& boot) {
             return std::make_unique<PortRouter>(nothing, nullptr, boot);
         }},
        {"a port that reaches nothing",
         [&](const BootFileLookup& boot) {
             auto router = std::make_unique<PortRouter>(nothing, nullptr, boot);
             router->Connect(1, 4800);
             return router;
         }},
    };
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.Path());  // no boot file in the working directory
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.make(noBoot)->UploadFirmware(firmware), kUploadBootFileBad);
        EXPECT_EQ(c.make(withBoot)->UploadFirmware(elsewhere.File("none.a20")),
                  kUploadFirmwareFileBad);
        EXPECT_EQ(c.make(withBoot)->UploadFirmware(firmware), kUploadNoZero);
    }
    std::filesystem::current_path(here);
}

}  // namespace
}  // namespace vk930

#include "core/terminal/terminal_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/terminal/sim_factory.h"
#include "core/terminal/sim_link.h"
#include "support/temp_dir.h"

namespace vk930::test {
namespace {

std::unique_ptr<TerminalModel> Make(const std::string& spec) {
    Result<LinkSpec> parsed = ParseLinkSpec(spec);
    EXPECT_TRUE(parsed.ok()) << parsed.error();
    Result<std::unique_ptr<TerminalModel>> model = TerminalModel::Create(parsed->sim);
    EXPECT_TRUE(model.ok()) << model.error();
    return std::move(model.value());
}

TEST(TerminalModel, MissingStateFileIsCreatedWithFactoryPages) {
    TempDir dir;
    const std::string file = dir.File("t.bin");
    auto model = Make("sim:" + file);
    const std::string bytes = ReadFile(file);
    ASSERT_EQ(bytes.size(), 512u);
    const auto factory = FactoryPages();
    EXPECT_EQ(0, std::memcmp(bytes.data(), factory[0].data(), 256));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 256, factory[1].data(), 256));
    // CommID 1, scanner 1, RFID 0, colour 3, display 1
    EXPECT_EQ(factory[0][1] * 256 + factory[0][2], 1);
    EXPECT_EQ(factory[0][35], 1);
    EXPECT_EQ(factory[0][36], 0);
    EXPECT_EQ(factory[0][37], 3);
    EXPECT_EQ(factory[0][38], 1);
}

TEST(TerminalModel, WritesReachTheFileAtOnceForASecondProcess) {
    TempDir dir;
    const std::string file = dir.File("t.bin");
    auto first = Make("sim:" + file);
    ASSERT_TRUE(first->WriteByte(0, 2, 44));
    ASSERT_TRUE(first->WriteText(1, 0, "SHOP"));
    auto second = Make("sim:" + file);
    EXPECT_EQ(second->Page(0)[2], 44);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(second->Page(1).data()), 4), "SHOP");
    ASSERT_TRUE(second->WriteByte(1, 255, 9));
    EXPECT_EQ(first->Page(1)[255], 9);  // the first sees the second's write
}

TEST(TerminalModel, BadStateFilesAreErrors) {
    TempDir dir;
    WriteFile(dir.File("short.bin"), std::string(511, '\0'));
    Result<LinkSpec> spec = ParseLinkSpec("sim:" + dir.File("short.bin"));
    Result<std::unique_ptr<TerminalModel>> model = TerminalModel::Create(spec->sim);
    ASSERT_FALSE(model.ok());
    EXPECT_NE(model.error().find("exactly 512 bytes"), std::string::npos);

    spec = ParseLinkSpec("sim:" + dir.File("no/such/folder/t.bin"));
    model = TerminalModel::Create(spec->sim);
    ASSERT_FALSE(model.ok());
    EXPECT_NE(model.error().find("cannot create state file"), std::string::npos);
}

TEST(TerminalModel, StateFilesThatAreNoneAreRefusedWithoutReadingThem) {
    TempDir dir;
    const std::string huge = dir.File("huge.bin");
    WriteFile(huge, "");
    std::filesystem::resize_file(huge, 100u << 20);  // sparse: nothing is written
    const std::pair<std::string, std::string> cases[] = {
        {huge, "has 104857600 bytes"},
        {dir.Path().string(), "cannot read state file"},
#ifndef _WIN32  // Windows devices (NUL, COM1) have no file status to tell them by
        {"/dev/zero", "cannot read state file"},
#endif
    };
    for (const auto& [path, error] : cases) {
        TerminalSpec spec;
        spec.stateFile = path;
        Result<std::unique_ptr<TerminalModel>> model = TerminalModel::Create(spec);
        ASSERT_FALSE(model.ok()) << path;
        EXPECT_NE(model.error().find(error), std::string::npos) << model.error();
    }
}

TEST(TerminalModel, AVersionFileIsReadOnlyAsFarAsAVersionCanGo) {
    TempDir dir;
    const std::string file = dir.File("t.bin");
    WriteFile(VersionFilePath(file), std::string(100000, '7'));  // no line end at all
    auto model = Make("sim:" + file);
    EXPECT_EQ(model->Version(), std::string(256, '7'));
}

TEST(TerminalModel, WritesStayInsideThePage) {
    auto model = Make("sim");
    const PageBytes before = model->Page(1);
    EXPECT_FALSE(model->WriteText(1, 250, "1234567"));
    EXPECT_FALSE(model->WriteByte(1, 256, 1));
    EXPECT_FALSE(model->WriteByte(1, -1, 1));
    EXPECT_FALSE(model->WriteByte(2, 0, 1));
    EXPECT_FALSE(model->WriteByte(0, 0, 256));
    EXPECT_FALSE(model->WriteByte(0, 0, -1));
    EXPECT_EQ(model->Page(1), before);
    EXPECT_TRUE(model->WriteText(1, 250, "123456"));
}

TEST(SimLink, FaultOptionsCountCallsOfTheProcess) {
    auto model = std::shared_ptr<TerminalModel>(Make("sim?fail=write:2&fail=text:1&fail=page1"));
    SimLink link(model);
    ASSERT_TRUE(link.Connect(1, 19200));
    EXPECT_EQ(link.WriteByte(3, 1, 0), 1);
    EXPECT_EQ(link.WriteByte(3, 2, 0), -1);
    EXPECT_EQ(link.WriteByte(3, 3, 0), 1);
    EXPECT_FALSE(link.WriteText(0, 1, "A"));
    EXPECT_TRUE(link.WriteText(0, 1, "B"));
    EXPECT_TRUE(link.ReadPage0(0, 255));
    EXPECT_FALSE(link.ReadPage1(0, 255));
    EXPECT_EQ(link.GetByte(0, 3), 3);
}

TEST(SimLink, PageCopyChangesOnlyAtTheNextFetch) {
    auto model = std::shared_ptr<TerminalModel>(Make("sim"));
    SimLink link(model);
    ASSERT_TRUE(link.Connect(1, 19200));
    ASSERT_TRUE(link.ReadPage0(0, 255));
    EXPECT_EQ(link.WriteByte(5, 77, 0), 1);
    EXPECT_EQ(link.GetByte(0, 5), 30);
    ASSERT_TRUE(link.ReadPage0(0, 255));
    EXPECT_EQ(link.GetByte(0, 5), 77);
    EXPECT_EQ(link.GetCommIdText(), "1");
    EXPECT_FALSE(link.ReadPage0(0, 100));  // only the whole page
}

TEST(SimLink, AbsentTerminalAndClosedPort) {
    SimLink absent(std::shared_ptr<TerminalModel>(Make("sim?absent")));
    EXPECT_TRUE(absent.Connect(1, 19200));  // the port opens, nothing answers
    EXPECT_NE(absent.ReadInfo(), 1);
    EXPECT_EQ(absent.GetDeviceType(), -1);

    SimLink closed(std::shared_ptr<TerminalModel>(Make("sim")));
    EXPECT_EQ(closed.ReadInfo(), 0);
    EXPECT_EQ(closed.WriteByte(1, 1, 0), -1);
    EXPECT_FALSE(closed.WriteText(0, 1, "X"));
    EXPECT_FALSE(closed.Connect(0, 19200));
    ASSERT_TRUE(closed.Connect(1, 19200));
    EXPECT_FALSE(closed.Connect(0, 4800));  // port 0 releases the open port
    EXPECT_EQ(closed.ReadInfo(), 0);
}

TEST(SimLink, AResetIsConfirmedOnlyWhenTheTerminalRestarted) {
    SimLink link(std::shared_ptr<TerminalModel>(Make("sim?fail=reset")));
    link.ResetDevice();  // no port open
    EXPECT_TRUE(link.LastCallFailed());
    ASSERT_TRUE(link.Connect(1, 19200));
    EXPECT_FALSE(link.LastCallFailed());
    link.ResetDevice();  // refused
    EXPECT_TRUE(link.LastCallFailed());
    EXPECT_EQ(link.Terminal().ResetCount(), 0);
    SimLink healthy(std::shared_ptr<TerminalModel>(Make("sim")));
    ASSERT_TRUE(healthy.Connect(1, 19200));
    healthy.ResetDevice();
    EXPECT_FALSE(healthy.LastCallFailed());
    EXPECT_EQ(healthy.Terminal().ResetCount(), 1);
}

TEST(SimLink, TraceFileRecordsEveryCall) {
    TempDir dir;
    TerminalSpec spec;
    spec.traceFile = dir.File("trace.log");
    auto link = MakeSimLink(spec);
    ASSERT_TRUE(link.ok());
    (*link)->Connect(3, 19200);
    (*link)->ReadPage1(0, 255);
    (*link)->GetText(0, 1, 20);
    (*link)->WriteText(21, 1, std::string("A\r\"\\\n\x01", 6));
    EXPECT_EQ(ReadFile(spec.traceFile),
              "Connect(3,19200)=1\nReadPage1(0,255)=1\n"
              "GetText(0,1,20)=\"VK930 HAND TERMINAL \"\n"
              "WriteText(21,1,\"A\\r\\\"\\\\\\n\\x01\")=1\n");
}

}  // namespace
}  // namespace vk930::test

#include "core/link/trace_line.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vk930 {
namespace {

TEST(TraceLine, WritesCallsInOneForm) {
    EXPECT_EQ(TraceLine("WriteByte", {2, 44, 0}).Returns(1), "WriteByte(2,44,0)=1");
    EXPECT_EQ(TraceLine("ReadInfo").Returns(0), "ReadInfo()=0");
    EXPECT_EQ(TraceLine("ResetDevice").Done(), "ResetDevice()");
    EXPECT_EQ(TraceLine("WriteText", {0, 1}).Text("A\"\\\r\n\x01\xFF").Returns(1),
              "WriteText(0,1,\"A\\\"\\\\\\r\\n\\x01\\xFF\")=1");
    EXPECT_EQ(TraceLine("GetVersionText").ReturnsText("14"), "GetVersionText()=\"14\"");
    EXPECT_EQ(TraceLine("UploadFirmware").Text("a b").Returns(-1), "UploadFirmware(\"a b\")=-1");
}

TEST(TraceFile, AppendsLinesAndNamesAFileItCannotWrite) {
    test::TempDir dir;
    Result<TraceSink> sink = OpenTraceFile(dir.File("t.log"));
    ASSERT_TRUE(sink.ok()) << sink.error();
    sink.value()("A()=1");
    sink.value()("B()=0");
    EXPECT_EQ(test::ReadFile(dir.File("t.log")), "A()=1\nB()=0\n");
    for (const std::string& bad : {dir.File("no/such/folder/t.log"), dir.Path().string()}) {
        Result<TraceSink> refused = OpenTraceFile(bad);
        ASSERT_FALSE(refused.ok()) << bad;
        EXPECT_EQ(refused.error().rfind("cannot write the trace file '" + bad + "': ", 0), 0u)
            << refused.error();
    }
}

}  // namespace
}  // namespace vk930

// The COM port's names and reasons: what a technician reads when a port does not work.
#include "platform/win32/com_port_errors.h"

#include <gtest/gtest.h>

namespace vk930 {
namespace {

TEST(ComPortNames, PortNamesBecomeDevicePathsAndLabels) {
    EXPECT_EQ(ComDevicePath("COM3"), "\\\\.\\COM3");
    EXPECT_EQ(ComDevicePath("com12"), "\\\\.\\COM12");
    EXPECT_EQ(ComDevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
    // Anything that is not a port name is opened as it is given.
    EXPECT_EQ(ComDevicePath("\\\\.\\CNCA0"), "\\\\.\\CNCA0");
    EXPECT_EQ(ComDevicePath("COMX"), "COMX");
    EXPECT_EQ(ComPortLabel("\\\\.\\com3"), "COM3");
    EXPECT_EQ(ComPortLabel("COM"), "COM");
}

TEST(ComPortReasons, OpenFailuresSayWhatToDo) {
    EXPECT_TRUE(ExplainComOpenError("COM3", ERROR_ACCESS_DENIED)
                    .starts_with("COM3 is in use by another program"));
    EXPECT_TRUE(
        ExplainComOpenError("\\\\.\\COM4", ERROR_FILE_NOT_FOUND).starts_with("there is no COM4"));
    const std::string other = ExplainComOpenError("COM2", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(other.starts_with("cannot open COM2: ")) << other;
    EXPECT_NE(other.find("(error 8)"), std::string::npos) << other;
}

TEST(ComPortReasons, AVanishedDeviceIsSaidAsSuch) {
    const std::string gone = ExplainComIoError("COM5", "write", ERROR_NOT_READY);
    EXPECT_TRUE(gone.starts_with("COM5 went away (write failed)")) << gone;
    const std::string other = ExplainComIoError("COM5", "read", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_TRUE(other.starts_with("cannot read on COM5: ")) << other;
}

}  // namespace
}  // namespace vk930

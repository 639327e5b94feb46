#pragma once
// What a Windows error on a COM port means to the technician at the bench: the reasons
// CreateFileA, ReadFile and WriteFile give, named after the port and what to do about them.
#include <windows.h>

#include <string>

namespace vk930 {

// "COM3" from "\\.\COM3", "COM3" or "com3"; any other name as it is.
std::string ComPortLabel(const std::string& device);

// The path CreateFileA opens: "\\.\COMn" for a port name (COM10 and above need the prefix,
// and it does no harm below), any other name as it is.
std::string ComDevicePath(const std::string& device);

// Why `device` did not open: "COM3 is in use by another program" (ERROR_ACCESS_DENIED),
// "there is no COM3" (ERROR_FILE_NOT_FOUND), else Windows' own words with the error number.
std::string ExplainComOpenError(const std::string& device, DWORD error);

// Why an exchange on an open port failed (`operation`: "read", "write", "set 4800 baud 8N1");
// a device that went away (ERROR_NOT_READY, 21, and its kin) is said as such.
std::string ExplainComIoError(const std::string& device, const std::string& operation, DWORD error);

// Windows' text for an error, without its line break ("error 1234" when it has none).
std::string SystemErrorText(DWORD error);

}  // namespace vk930

#pragma once
// The COM ports Windows knows (its DOS device names COM1, COM2, ...), for the Devices dialog's
// offers.
#include <string>
#include <vector>

namespace vk930 {

// The COMn names among `dosDevices` (the NUL-separated list QueryDosDevice gives), ordered by
// their number; names like "COM" or "COMx" are not ports.
std::vector<int> ComPortNumbers(const std::wstring& dosDevices);

// The COM ports present now, ordered by number: those Windows lists, and those of COM1 to
// COM8 that open.
std::vector<int> ComPortsPresent();

}  // namespace vk930

#pragma once
// Text between the program's 8-bit strings and the wide Win32 calls, in Windows' ANSI code
// page: the page the original's texts and the technicians' file names are in.
#include <string>

namespace vk930 {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace vk930

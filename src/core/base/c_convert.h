#pragma once
// The C library's decimal conversion as the system uses it (atoi): leading white space
// skipped, an optional sign, digits up to the first other character; no digits gives 0.
// Unlike atoi it never overflows: a number beyond the 32-bit range is held at its limit.
#include <cstdint>
#include <string_view>

namespace vk930 {

std::int32_t CAtoi(std::string_view text);
// The same conversion held at the 64-bit limits instead: for a number that must be checked
// against a range before it is cut to 32 bits.
std::int64_t CAtoll(std::string_view text);

}  // namespace vk930

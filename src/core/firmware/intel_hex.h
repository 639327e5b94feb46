#pragma once
// Intel HEX, the text format of firmware files (hsbt*.a20) and of the boot file (boot.a20):
// one record per line, ":" LL AAAA TT DD... CC in hex digits, where LL counts the data bytes,
// AAAA is the address offset, TT the record type and CC the two's complement of the sum of
// all other bytes. Reading and writing are pure functions over text; opening files is
// intel_hex_file.h's job.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/firmware/boot_loader.h"

namespace vk930 {

// An image ends below this address: the terminal's flash is far smaller, and a bigger span
// in a file is a broken file, not a firmware.
inline constexpr std::uint64_t kMaxImageAddress = 16u << 20;
// Larger text cannot describe a valid image of at most 16 MiB.
inline constexpr std::uint64_t kMaxHexTextSize = 64u << 20;

// The image the records describe: data (00), end of file (01), extended segment (02) and
// linear (04) address records; start address records (03, 05) are accepted and ignored.
// Blank lines and surrounding blanks are allowed; whatever follows the end record is
// ignored. An error names the line and the fault: a line not starting with ':', a bad hex
// digit, a length that does not match the record, a bad checksum, an unknown record type,
// data beyond 16 MiB, bytes given twice, a missing end record, or no data at all.
Result<FirmwareImage> ParseIntelHex(std::string_view text);

// The image as Intel HEX: 16 data bytes per record, an extended linear address record
// wherever the upper 16 address bits change, and the end record.
std::string WriteIntelHex(const FirmwareImage& image);

}  // namespace vk930

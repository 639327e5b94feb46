#pragma once
// Reading an Intel HEX file from disk; the parsing itself is intel_hex.h.
#include <string>

#include "core/base/result.h"
#include "core/firmware/boot_loader.h"

namespace vk930 {

// The image of an Intel HEX file. Errors name the file: missing, not a regular file, larger
// than the text of any valid image may be (checked before reading), unreadable, or invalid.
Result<FirmwareImage> ReadIntelHexFile(const std::string& path);

}  // namespace vk930

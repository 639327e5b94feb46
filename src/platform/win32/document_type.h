#pragma once
// The parameter file type for the current user: ".pcg" is a "VK930C Document" opened by this
// program, with its document icon (resource 129). Written at every start, so that a moved
// program still opens its files.
#include <windows.h>

#include <string>

#include "core/base/result.h"

namespace vk930 {

inline constexpr char kDocumentProgId[] = "VK930Config.Document";
inline constexpr char kDocumentTypeName[] = "VK930C Document";
inline constexpr char kClassesSubkey[] = "Software\\Classes";

// Registers the type under `classes` of `root` for the program at `program`; an error names
// the key that could not be written.
Status RegisterDocumentType(const std::string& program, HKEY root = HKEY_CURRENT_USER,
                            const std::string& classes = kClassesSubkey);

}  // namespace vk930

#pragma once
// The comparison of two parameter files without a terminal: the first is programmed into a
// factory-fresh copy of the pages, the second into the result. A raw file (SYSTEM lines) is
// compared by what its bytes mean for each key of the keyed form, then byte by byte outside
// the keys.
#include <string>

#include "core/proof/diff_report.h"

namespace vk930 {

// True when the file holds a SYSTEM line before its END line.
bool IsRawFile(const DryRun& run);

// The report of `second` against `first`; `problem` is set when a file cannot be read.
DiffReport CompareFiles(const std::string& first, const std::string& second,
                        SettingsBackendFactory& settings, std::string& problem);

// Every key of the keyed form, then every byte outside them, of `before` against `after`.
DiffReport CompareByKey(const Pages& before, const Pages& after);

}  // namespace vk930

// Masking of secrets in recorded entries.
#include "core/proof/masked_secrets.h"

#include "core/params/parameter_file.h"

namespace vk930 {

namespace {
// The terminal's password: the one key whose value no record may show.
constexpr char kPasswordKey[] = "PASSWORD";
}  // namespace

std::string RecordedText(const std::string& entryText) {
    if (!HasColon(entryText) || GetKey(entryText) != kPasswordKey) return entryText;
    return std::string(kPasswordKey) + ":" + kMaskedValue;
}

}  // namespace vk930

// The operation log's control-character pictures.
#include "core/app/log_pictures.h"

namespace vk930 {

namespace {
constexpr char16_t kControlPictures = 0x2400;  // U+2400 SYMBOL FOR NULL to U+241F
constexpr char16_t kDeletePicture = 0x2421;    // U+2421 SYMBOL FOR DELETE
constexpr char16_t kReplacement = 0xFFFD;      // U+FFFD REPLACEMENT CHARACTER
}  // namespace

char16_t LogPicture(char16_t unit) {
    if (unit < 0x20) return static_cast<char16_t>(kControlPictures + unit);
    if (unit == 0x7F) return kDeletePicture;
    if ((unit >= 0x80 && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029) return kReplacement;
    return unit;
}

std::u16string LogPictures(std::u16string text) {
    for (char16_t& unit : text) unit = LogPicture(unit);
    return text;
}

}  // namespace vk930

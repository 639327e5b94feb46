#include "core/proof/written_bytes.h"

namespace vk930 {

void AppendText(WrittenBytes& bytes, int page, int offset, const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i)
        bytes.push_back({page, offset + static_cast<int>(i), static_cast<unsigned char>(text[i])});
}

std::map<std::pair<int, int>, int> FinalValues(const WrittenBytes& bytes) {
    std::map<std::pair<int, int>, int> values;
    for (const WrittenByte& b : bytes) values[{b.page, b.offset}] = b.value;
    return values;
}

}  // namespace vk930

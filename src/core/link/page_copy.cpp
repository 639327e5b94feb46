#include "core/link/page_copy.h"

namespace vk930 {

namespace {
bool ValidPage(int page) {
    return page == 0 || page == 1;
}
bool ValidOffset(int offset) {
    return offset >= 0 && offset < kPageSize;
}
}  // namespace

void PageCopy::Store(int page, const PageBytes& bytes) {
    if (ValidPage(page)) pages_[page] = bytes;
}

void PageCopy::Forget() {
    pages_ = {};
}

Short PageCopy::GetByte(Short page, Short offset) const {
    if (!ValidPage(page) || !ValidOffset(offset)) return 0;
    return pages_[page][offset];
}

std::string PageCopy::GetText(Short offset, Short page, Short length) const {
    if (!ValidPage(page) || !ValidOffset(offset) || length <= 0) return {};
    const int end = std::min<int>(kPageSize, offset + length);
    const auto& bytes = pages_[page];
    return std::string(bytes.begin() + offset, bytes.begin() + end);
}

}  // namespace vk930

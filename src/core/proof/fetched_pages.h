#pragma once
// The pages a command fetched, read from the link's copy without a link call.
#include <array>
#include <optional>

#include "core/link/link_ctrl.h"
#include "core/link/page_copy.h"
#include "core/params/page_source.h"

namespace vk930 {

using Pages = std::array<PageBytes, 2>;

// Both pages of the link's copy; nullopt when the link keeps none.
inline std::optional<Pages> FetchedPagesOf(const CLinkCtrl& link) {
    const PageCopy* copy = link.FetchedPages();
    if (!copy) return std::nullopt;
    Pages pages{};
    for (Short page = 0; page < 2; ++page)
        for (Short offset = 0; offset < kPageSize; ++offset)
            pages[page][offset] = static_cast<std::uint8_t>(copy->GetByte(page, offset));
    return pages;
}

// Pages held by value, as a page source.
class PagesSource : public PageSource {
  public:
    explicit PagesSource(const Pages& pages) : pages_(pages) {}
    Short GetByte(Short page, Short offset) override {
        if (page < 0 || page > 1 || offset < 0 || offset >= kPageSize) return 0;
        return pages_[page][offset];
    }
    std::string GetText(Short offset, Short page, Short length) override {
        std::string text;
        for (int i = offset; i < offset + length && i < kPageSize; ++i)
            text += static_cast<char>(GetByte(page, static_cast<Short>(i)));
        return text;
    }

  private:
    Pages pages_;
};

}  // namespace vk930

#pragma once
// The link's copy of the two parameter pages as last fetched. GetByte and GetText answer
// from here; they never read outside the copy whatever offset or length they are given.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "core/link/link_ctrl.h"

namespace vk930 {

inline constexpr int kPageSize = 256;
using PageBytes = std::array<std::uint8_t, kPageSize>;

class PageCopy {
  public:
    void Store(int page, const PageBytes& bytes);
    void Forget();
    Short GetByte(Short page, Short offset) const;
    std::string GetText(Short offset, Short page, Short length) const;

  private:
    std::array<PageBytes, 2> pages_{};
};

}  // namespace vk930

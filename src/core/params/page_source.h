#pragma once
// Where the reading side takes page bytes from: the link's copy of the pages as last fetched.
// The operations keep the link's argument orders (GetByte: page first; GetText: page second).
#include <string>

#include "core/link/link_ctrl.h"

namespace vk930 {

class PageSource {
  public:
    virtual ~PageSource() = default;
    // The byte at page/offset as last fetched.
    virtual Short GetByte(Short page, Short offset) = 0;
    // `length` characters of the page from `offset` on, one character per byte.
    virtual std::string GetText(Short offset, Short page, Short length) = 0;
};

// The link control as a page source.
class LinkPageSource : public PageSource {
  public:
    explicit LinkPageSource(CLinkCtrl& link) : link_(link) {}
    Short GetByte(Short page, Short offset) override { return link_.GetByte(page, offset); }
    std::string GetText(Short offset, Short page, Short length) override {
        return link_.GetText(offset, page, length);
    }

  private:
    CLinkCtrl& link_;
};

}  // namespace vk930
